#pragma once
// Carries a failed call's error info back across apartments: a COM channel
// hook that, on the thread that served a call, takes the description the
// callee left (SetErrorInfo) and, on the calling thread, sets it again, so that
// a frame in one apartment reads why a DTM in another failed, and the other way
// round. Windows carries error info across apartments itself; Wine does not,
// and the frame stand-in installs this hook so that a script gives the same
// transcript in either apartment. installErrorInfoHook() is called once per
// process, on any thread, before the first call crosses apartments.

namespace zeb2hart::frame {

void installErrorInfoHook();

} // namespace zeb2hart::frame
