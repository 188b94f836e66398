#pragma once
// ZEB2HART_API marks what libzeb2hart offers the frames that host it: the FDT
// interfaces, the object model, the services a host installs and the class
// registry (the headers installed under include/zeb2hart/). The library is built
// with hidden visibility, so nothing else of it is reachable from outside.
// On Windows the component is the COM server; these classes are not exported there.

#if defined(_WIN32)
#define ZEB2HART_API
#else
#define ZEB2HART_API __attribute__((visibility("default")))
#endif
