// Renders the three pages in English and German into a folder, offscreen:
//   QT_QPA_PLATFORM=offscreen render_page_screenshots docs/screenshots
#include <QApplication>

#include <exception>
#include <iostream>

#include "ui/qt/Screenshots.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: render_page_screenshots FOLDER\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    try {
        for (const auto& file : zeb2hart::ui::renderPageScreenshots(argv[1]))
            std::cout << file.string() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "render_page_screenshots: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
