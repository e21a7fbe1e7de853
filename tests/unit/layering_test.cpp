// The layers keep to their direction of use, read from the includes of the sources: the other
// windows reach the main window only through their own interfaces, the platform, the store and
// the runtime know nothing of the windows, the store and the runtime nothing of the toolkit, and
// no two source files share a name. ZORVANE_LAYERING_ROOT reads another tree.
#include <QTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>

namespace fs = std::filesystem;

namespace {

fs::path Root() {
    const QByteArray other = qgetenv("ZORVANE_LAYERING_ROOT");
    return other.isEmpty() ? fs::path(ZORVANE_SOURCE_DIR) : fs::path(other.toStdString());
}

// Every source file below the folder, relative to it: "tray/tray_menu.cpp".
std::vector<std::string> Sources(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().extension() == ".cpp" || entry.path().extension() == ".h")
            files.push_back(fs::relative(entry.path(), folder).generic_string());
    return files;
}

bool In(const std::string& path, std::initializer_list<const char*> folders) {
    return std::any_of(folders.begin(), folders.end(), [&](const char* folder) {
        return path.rfind(std::string(folder) + "/", 0) == 0;
    });
}

} // namespace

class LayeringTest : public QObject {
    Q_OBJECT

private slots:
    void layersKeepTheirDirection();
    void noTwoFilesShareAName();
};

void LayeringTest::layersKeepTheirDirection() {
    static const std::regex directive("^\\s*#\\s*include\\s*[<\"]([^>\"]+)[>\"]");
    QString faults;
    for (const std::string& file : Sources(Root() / "src")) {
        std::ifstream in(Root() / "src" / file);
        std::smatch match;
        for (std::string line; std::getline(in, line);) {
            if (!std::regex_search(line, match, directive))
                continue;
            const std::string header = match[1];
            const bool windowReachesMain =
                In(file, {"events", "picker", "tray"}) && header == "shell/main_window.h" &&
                fs::path(file).filename().string().rfind("main_", 0) != 0;
            const bool lowerKnowsWindows =
                In(file, {"platform", "store", "runtime"}) &&
                In(header, {"click", "shell", "picker", "events", "tray", "ui"});
            const bool storeKnowsToolkit = In(file, {"store", "runtime"}) && header[0] == 'Q';
            if (windowReachesMain || lowerKnowsWindows || storeKnowsToolkit)
                faults += QString::fromStdString("\n  " + file + " includes " + header);
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults));
}

// An include of one is taken for the other, by readers and by tools.
void LayeringTest::noTwoFilesShareAName() {
    std::map<std::string, std::string> seen;
    QString faults;
    for (const char* tree : {"src", "bench"})
        for (const std::string& file : Sources(Root() / tree)) {
            const std::string path = std::string(tree) + "/" + file;
            const auto [other, fresh] = seen.emplace(fs::path(file).filename().string(), path);
            if (!fresh)
                faults += QString::fromStdString("\n  " + other->second + " and " + path);
        }
    QVERIFY2(faults.isEmpty(), qPrintable(faults));
}

QTEST_APPLESS_MAIN(LayeringTest)
#include "layering_test.moc"
