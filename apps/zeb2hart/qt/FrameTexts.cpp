#include "FrameTexts.h"

#include <array>

namespace zeb2hart::frame {

namespace {

struct Row {
    FrameText id;
    const char* english;
    const char* german;
};

using T = FrameText;

constexpr std::array kTexts = std::to_array<Row>({
    {T::MenuFile, "&File", "&Datei"},
    {T::MenuNewProject, "&New project", "&Neues Projekt"},
    {T::MenuOpenProject, "&Open project…", "Projekt ö&ffnen…"},
    {T::MenuSaveProject, "&Save project", "Projekt &speichern"},
    {T::MenuSaveProjectAs, "Save project &as…", "Projekt speichern &unter…"},
    {T::MenuQuit, "&Quit", "&Beenden"},
    {T::MenuGateway, "&Gateway", "&Gateway"},
    {T::ToolBarFunctions, "Functions", "Funktionen"},
    {T::MenuHartDevice, "&HART device", "&HART-Gerät"},
    {T::MenuConnect, "&Connect", "&Verbinden"},
    {T::MenuDisconnect, "&Disconnect", "&Trennen"},
    {T::MenuLanguage, "&Language", "&Sprache"},
    {T::MenuView, "&View", "&Ansicht"},
    {T::MenuHelp, "&Help", "&Hilfe"},
    {T::MenuAbout, "&About this frame", "&Über diesen Rahmen"},
    {T::AboutTitle, "zeb2hart frame", "zeb2hart-Rahmen"},
    {T::AboutText,
     "zeb2hart ui: an FDT frame stand-in hosting the ZEB2HART gateway DTM between a simulated ZEB communication DTM "
     "and a simulated HART device DTM.",
     "zeb2hart ui: ein FDT-Rahmen als Stellvertreter, der das ZEB2HART-Gateway-DTM zwischen einem simulierten "
     "ZEB-Kommunikations-DTM und einem simulierten HART-Geräte-DTM betreibt."},
    {T::ProjectFilter, "ZEB2HART projects (*.json);;All files (*)", "ZEB2HART-Projekte (*.json);;Alle Dateien (*)"},
    {T::SaveProjectTitle, "Save project", "Projekt speichern"},
    {T::OpenProjectTitle, "Open project", "Projekt öffnen"},
    {T::UnsavedTitle, "Unsaved changes", "Ungespeicherte Änderungen"},
    {T::UnsavedText, "The gateway's properties have changed since the project was saved.",
     "Die Eigenschaften des Gateways haben sich geändert, seit das Projekt gespeichert wurde."},
    {T::SaveFailed, "The project was not saved; the previous file is unchanged.",
     "Das Projekt wurde nicht gespeichert; die bisherige Datei ist unverändert."},
    {T::LoadFailed, "The project could not be loaded.", "Das Projekt konnte nicht geladen werden."},
    {T::DockTopology, "Topology", "Topologie"},
    {T::DockHartDevice, "HART device", "HART-Gerät"},
    {T::DockFrameLog, "Frame log", "Rahmenprotokoll"},
    {T::ColumnObject, "Object", "Objekt"},
    {T::ColumnState, "State", "Zustand"},
    {T::ParentName, "ZEB communication DTM", "ZEB-Kommunikations-DTM"},
    {T::ParentSimulated, "%1 (simulated)", "%1 (simuliert)"},
    {T::ParentTip, "Simulated ZEB communication DTM answering from the device model %1: %2",
     "Simuliertes ZEB-Kommunikations-DTM, das aus dem Gerätemodell %1 antwortet: %2"},
    {T::StateUnknown, "unknown", "unbekannt"},
    {T::StateConnected, "connected", "verbunden"},
    {T::StateConnectionError, "connection error", "Verbindungsfehler"},
    {T::StateDisconnected, "disconnected", "getrennt"},
    {T::GatewayTip, "ZEB to HART Gateway DTM; right-click for its functions",
     "ZEB-HART-Gateway-DTM; Rechtsklick für seine Funktionen"},
    {T::GatewayStateTip, "Device type %1; communication %2", "Gerätetyp %1; Kommunikation %2"},
    {T::ChannelTip, "The gateway's HART communication channel", "Der HART-Kommunikationskanal des Gateways"},
    {T::ChildState, "address %1, %2", "Adresse %1, %2"},
    {T::ChildTip, "Simulated HART device DTM; right-click to connect or disconnect",
     "Simuliertes HART-Geräte-DTM; Rechtsklick zum Verbinden oder Trennen"},
    {T::ConnectedReference, "Connected, communication reference %1", "Verbunden, Kommunikationsreferenz %1"},
    {T::GatewayStatus, "Gateway %1: %2", "Gateway %1: %2"},
    {T::ChildStatus, "HART device %1: %2", "HART-Gerät %1: %2"},
    {T::UnsavedProject, "unsaved project", "ungespeichertes Projekt"},
    {T::WindowTitle, "%1%2 – zeb2hart frame", "%1%2 – zeb2hart-Rahmen"},
    {T::FunctionFallback, "Function %1", "Funktion %1"},
    {T::PageAreaHint,
     "No page is open. Choose a function of the gateway in the Gateway menu or on the tool bar, or right-click the "
     "gateway in the topology, to open its page.",
     "Keine Seite ist geöffnet. Wählen Sie eine Funktion des Gateways im Menü Gateway oder in der Werkzeugleiste, "
     "oder klicken Sie in der Topologie mit der rechten Maustaste auf das Gateway, um ihre Seite zu öffnen."},
    {T::GroupConnection, "Connection", "Verbindung"},
    {T::ButtonConnect, "Connect", "Verbinden"},
    {T::ButtonDisconnect, "Disconnect", "Trennen"},
    {T::GroupCommand, "HART command", "HART-Kommando"},
    {T::LabelCommand, "Command", "Kommando"},
    {T::LabelData, "Data (hex)", "Daten (hex)"},
    {T::NoDataBytes, "no data bytes", "keine Datenbytes"},
    {T::ButtonSend, "Send", "Senden"},
    {T::GroupAnswers, "Answers", "Antworten"},
    {T::Command0, "0 – Read unique identifier", "0 – Eindeutige Kennung lesen"},
    {T::Command1, "1 – Read primary variable", "1 – Primärvariable lesen"},
    {T::Command59, "59 – Write number of response preambles", "59 – Anzahl der Antwortpräambeln schreiben"},
    {T::Command128, "128 – ZEB telegram", "128 – ZEB-Telegramm"},
    {T::Command129, "129 – ZEB broadcast", "129 – ZEB-Rundruf"},
    {T::Command131, "131 – Read delayed response", "131 – Verzögerte Antwort lesen"},
    {T::Hint0, "Read unique identifier", "Eindeutige Kennung lesen"},
    {T::Hint1, "Read primary variable (not served by the gateway)",
     "Primärvariable lesen (vom Gateway nicht bedient)"},
    {T::Hint59, "Write number of response preambles", "Anzahl der Antwortpräambeln schreiben"},
    {T::Hint128, "ZEB telegram reading object %1", "ZEB-Telegramm, das das Objekt %1 liest"},
    {T::Hint129, "ZEB broadcast: warm-start request", "ZEB-Rundruf: Warmstart-Anforderung"},
    {T::Hint131, "Read delayed response", "Verzögerte Antwort lesen"},
    {T::DataNotHex, "The data must be hexadecimal bytes, two digits each (e.g. 36 B2 20 00 00).",
     "Die Daten müssen hexadezimale Bytes mit je zwei Ziffern sein (z. B. 36 B2 20 00 00)."},
    {T::ChildAttached, "HART device DTM %1, short address %2", "HART-Geräte-DTM %1, Kurzadresse %2"},
    {T::NoChild, "No HART device DTM attached", "Kein HART-Geräte-DTM angeschlossen"},
    {T::Aborted, "Disconnected: the connection was aborted", "Getrennt: die Verbindung wurde abgebrochen"},
    {T::Disconnected, "Disconnected", "Getrennt"},
    {T::Refused, "refused by the gateway", "vom Gateway abgelehnt"},
    {T::CommunicationError, "communication error %1", "Kommunikationsfehler %1"},
    {T::NoData, "no data", "keine Daten"},
    {T::AnswerData, "data %1", "Daten %1"},
    {T::WaitingForAnswer, "waiting for the answer", "wartet auf die Antwort"},
    {T::AnswerRow, "Command %1 → %2", "Kommando %1 → %2"},
    {T::InvokeIdTip, "Invoke identifier %1", "Aufrufkennung %1"},
    {T::IdentityRead, "Identity (command 0): %1", "Identität (Kommando 0): %1"},
    {T::IdentityNotRead, "Identity: not read yet (send command 0)", "Identität: noch nicht gelesen (Kommando 0 senden)"},
    {T::WireTiming, "Wire timing", "Leitungszeiten"},
    {T::WireTimingTip, "The simulated ZEB communication DTM answers after the modelled field time of each request",
     "Das simulierte ZEB-Kommunikations-DTM antwortet nach der modellierten Feldzeit jeder Anfrage"},
    {T::DockCounters, "Gateway counters", "Gateway-Zähler"},
    {T::CountersCommand, "Command", "Kommando"},
    {T::CountersRequests, "Requests", "Anfragen"},
    {T::CountersAnswers, "Answers", "Antworten"},
    {T::CountersErrors, "Errors", "Fehler"},
    {T::CountersLatency, "ms: least / mean / most", "ms: min. / Mittel / max."},
    {T::CountersNoConnection, "No connection yet", "Noch keine Verbindung"},
    {T::CountersConnection, "Connection %1 (%2), %3 before it", "Verbindung %1 (%2), %3 davor"},
    {T::CountersOpen, "open", "offen"},
    {T::CountersClosed, "closed", "geschlossen"},
    {T::CountersTotals,
     "Requests to the parent %1, answers from it %2; error answers: %3; answers for unknown invoke ids %4; refused "
     "requests %5; time-out broadcasts %6",
     "Anfragen an das Eltern-DTM %1, Antworten davon %2; Fehlerantworten: %3; Antworten auf unbekannte "
     "Aufrufkennungen %4; abgelehnte Anfragen %5; Time-out-Broadcasts %6"},
    {T::CountersNone, "none", "keine"},
});

constexpr bool inOrder()
{
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        if (static_cast<std::size_t>(kTexts[i].id) != i)
            return false;
    }
    return kTexts.size() == static_cast<std::size_t>(FrameText::Count);
}
static_assert(inOrder(), "the frame's texts: one row per FrameText, in the enumeration's order");

} // namespace

QString frameText(FrameText id, std::int32_t localeId)
{
    const Row& row = kTexts.at(static_cast<std::size_t>(id));
    return QString::fromUtf8(localeId == kGermanLocale ? row.german : row.english);
}

} // namespace zeb2hart::frame
