// Creates the DTM by its ProgID, as a frame's script would, and lists its
// functions (IDtm::GetFunctions): exit 0 when the document names the
// "Offline parameter" function, 1 when it does not, 2 when a call failed.
// Wine's cscript ends with 0 after an unhandled error, hence the explicit codes.
var status = 2;
try {
    var dtm = new ActiveXObject("ZEB2HARTGateway.DTMMain");
    var functions = dtm.GetFunctions("");
    WScript.Echo(functions);
    status = String(functions).indexOf("Offline parameter") >= 0 ? 0 : 1;
} catch (e) {
    WScript.Echo("failed: " + e.message);
}
WScript.Quit(status);
