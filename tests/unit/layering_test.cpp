// The layers keep to their direction of use, read from the includes of the sources: the other
// windows reach the main window only through their own interfaces, the platform, the store and
// the runtime know nothing of the windows, the store and the runtime nothing of the toolkit, and
// no two source files share a name.
#include <QTest>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Include {
    std::string file;   // relative to the source root: "tray/tray_menu.cpp"
    std::string header; // as written: "shell/main_window.h", "QWidget"
};

// ZORVANE_LAYERING_ROOT reads another tree.
fs::path SourceRoot() {
    const QByteArray other = qgetenv("ZORVANE_LAYERING_ROOT");
    return other.isEmpty() ? fs::path(ZORVANE_SOURCE_DIR) : fs::path(other.toStdString());
}

std::vector<fs::path> SourceFiles(const fs::path& root) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file() &&
            (entry.path().extension() == ".cpp" || entry.path().extension() == ".h"))
            files.push_back(entry.path());
    return files;
}

std::vector<Include> Includes() {
    static const std::regex directive("^\\s*#\\s*include\\s*[<\"]([^>\"]+)[>\"]");
    std::vector<Include> includes;
    const fs::path root = SourceRoot() / "src";
    for (const fs::path& file : SourceFiles(root)) {
        std::ifstream in(file);
        std::smatch match;
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, match, directive))
                includes.push_back({fs::relative(file, root).generic_string(), match[1]});
    }
    return includes;
}

bool In(const std::string& path, std::initializer_list<const char*> folders) {
    for (const char* folder : folders)
        if (path.rfind(std::string(folder) + "/", 0) == 0)
            return true;
    return false;
}

QByteArray Listed(const std::vector<std::string>& faults) {
    std::string text;
    for (const std::string& fault : faults)
        text += "\n  " + fault;
    return QByteArray::fromStdString(text);
}

} // namespace

class LayeringTest : public QObject {
    Q_OBJECT

private slots:
    void layersKeepTheirDirection_data();
    void layersKeepTheirDirection();
    void noTwoFilesShareAName();
};

void LayeringTest::layersKeepTheirDirection_data() {
    QTest::addColumn<int>("rule");
    QTest::newRow("windows reach the main window through their interfaces") << 0;
    QTest::newRow("the platform, the store and the runtime know no window") << 1;
    QTest::newRow("the store and the runtime know no toolkit") << 2;
}

void LayeringTest::layersKeepTheirDirection() {
    QFETCH(int, rule);
    std::vector<std::string> faults;
    for (const Include& include : Includes()) {
        const std::string name = fs::path(include.file).filename().string();
        const bool broken =
            rule == 0 ? In(include.file, {"events", "picker", "tray"}) &&
                            include.header == "shell/main_window.h" && name.rfind("main_", 0) != 0
            : rule == 1
                ? In(include.file, {"platform", "store", "runtime"}) &&
                      In(include.header, {"click", "shell", "picker", "events", "tray", "ui"})
                : In(include.file, {"store", "runtime"}) && include.header[0] == 'Q';
        if (broken)
            faults.push_back(include.file + " includes " + include.header);
    }
    QVERIFY2(faults.empty(), Listed(faults).constData());
}

// An include of one is taken for the other, by readers and by tools.
void LayeringTest::noTwoFilesShareAName() {
    std::map<std::string, std::vector<std::string>> places;
    for (const char* tree : {"src", "bench"})
        for (const fs::path& file : SourceFiles(SourceRoot() / tree))
            places[file.filename().string()].push_back(
                fs::relative(file, SourceRoot()).generic_string());
    std::vector<std::string> faults;
    for (const auto& [name, files] : places)
        if (files.size() > 1)
            faults.push_back(files[0] + " and " + files[1]);
    QVERIFY2(faults.empty(), Listed(faults).constData());
}

QTEST_APPLESS_MAIN(LayeringTest)
#include "layering_test.moc"
