// A frame vendor's smallest host of the installed component: it installs the
// services, creates the DTM by its ProgID, gives it a frame, asks for its
// information and functions documents, saves its properties and reads the gateway's counters.
//   host FRAME_SCHEMA_FOLDER   (the frame's own FDT schemas, which the DTM validates against)
// Built against the installed tree only (find_package(zeb2hart) or pkg-config).
#include <filesystem>
#include <iostream>

#include <zeb2hart/zeb2hart.h>

int main(int argc, char** argv)
{
    using namespace zeb2hart;
    // The system's services (a run loop, the system clock and GUIDs) with the
    // folder of the loaded library as the component folder.
    platform::ScopedServices services(platform::systemServices());
    const auto folder = platform::services().componentFolder;
    std::cout << "component folder: " << folder.string() << "\n";
    if (!std::filesystem::exists(folder / "Resources" / "DTM.ini")) {
        std::cerr << "host: no Resources/DTM.ini in the component folder\n";
        return 1;
    }

    const auto object = platform::ClassRegistry::instance().create(core::kProgIdDtm);
    const auto dtm = fdt::query<fdt::IDtm>(object);
    const auto information = fdt::query<fdt::IDtmInformation>(object);
    const auto persistence = fdt::query<platform::IPersistPropertyBag>(object);
    if (!dtm || !information || !persistence) {
        std::cerr << "host: " << core::kProgIdDtm << " was not created with its interfaces\n";
        return 1;
    }

    const auto frame = std::make_shared<fdt::SilentFrame>(argc > 1 ? argv[1] : "");
    try {
        persistence->InitNewProperties();
        if (!dtm->Environment("HOST1", frame)) {
            std::cerr << "host: the DTM refused Environment\n";
            return 1;
        }
        const std::string document = information->GetInformation();
        std::cout << "information: " << document.size() << " bytes"
                  << (document.find("<FDT") != std::string::npos ? ", an FDT document" : "") << "\n";
        std::cout << "functions: " << dtm->GetFunctions("").size() << " bytes\n";

        platform::MemoryPropertyBag bag;
        persistence->SaveProperties(bag);
        std::cout << "saved properties: " << bag.entries().size() << "\n";
        const auto counters = fdt::query<gateway::IGatewayCounters>(object);
        if (!counters) {
            std::cerr << "host: the DTM offers no gateway counters\n";
            return 1;
        }
        std::cout << "connections counted: " << counters->connectionCounters().size() << "\n";
        dtm->PrepareToRelease();
    } catch (const fdt::Error& error) {
        std::cerr << "host: " << error.what() << "\n";
        return 1;
    }
    std::cout << "done\n";
    return 0;
}
