#include "main_window_fixture.h"

#include "events/mouse_events_window.h"

#include "click/mouse.h"
#include "store/settings_file.h"

#include <QPushButton>

#include <csignal>
#include <sys/resource.h>

namespace {

shell::AppInfo AppIn(const QTemporaryDir& folder, std::vector<std::string> arguments) {
    shell::AppInfo app;
    app.folder = folder.path().toStdString();
    app.exeName = "zorvane";
    app.exePath = app.folder + "/zorvane";
    app.configFolder = app.folder; // the portable mode
    app.dataFolder = app.folder;
    app.arguments = std::move(arguments);
    return app;
}

} // namespace

FullDisk::FullDisk() : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_limit = limit.rlim_cur;
    limit.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FullDisk::~FullDisk() {
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_limit;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_handler);
}

MainWindowFixture::MainWindowFixture(std::vector<std::string> arguments)
    : app(AppIn(folder, std::move(arguments))), window(std::make_unique<frmMain>(services, app)) {
    window->mouseEventsWindowFactory = frmMouseEvents::Opener(dialogs, app.configFolder);
}

std::string MainWindowFixture::Path(const QString& name) const {
    return folder.filePath(name).toStdString();
}

std::string MainWindowFixture::SettingsFile() const {
    return store::SettingsPath(app.configFolder);
}

void MainWindowFixture::WriteSettings(
    const std::vector<std::pair<std::string, std::string>>& values) {
    store::WriteDefaultSettings(SettingsFile());
    for (const auto& [name, value] : values)
        store::SetConfigValue(SettingsFile(), name, value);
}

bool MainWindowFixture::Idle() const {
    return window->btnStartStop->text() == QStringLiteral("&START");
}

QString MainWindowFixture::RunningTimer() const {
    QStringList on;
    if (window->tmrDelay->isEnabled())
        on << QStringLiteral("delay");
    if (window->tmr1sec->isEnabled())
        on << QStringLiteral("seconds");
    if (window->tmrClick->isEnabled())
        on << QStringLiteral("tenths");
    if (on.isEmpty())
        return QStringLiteral("none");
    return on.size() == 1 ? on.front() : QStringLiteral("several");
}

namespace {

bool TickOnce(frmMain& w) {
    if (w.tmrDelay->isEnabled())
        w.tmrDelay_Timer();
    else if (w.tmr1sec->isEnabled())
        w.tmr1sec_Timer();
    else if (w.tmrClick->isEnabled())
        w.tmrClick_Timer();
    else
        return false;
    return true;
}

} // namespace

int MainWindowFixture::TickUntilIdle(int maxTicks) {
    int ticks = 0;
    while (!Idle() && ticks < maxTicks && TickOnce(*window))
        ++ticks;
    return ticks;
}

int MainWindowFixture::TickUntilClicks(size_t clicks, int maxTicks) {
    const size_t target = Presses() + clicks;
    int ticks = 0;
    while (Presses() < target && ticks < maxTicks && TickOnce(*window))
        ++ticks;
    return ticks;
}

size_t MainWindowFixture::Presses() const {
    size_t presses = 0;
    for (const auto& event : mouse.events())
        if (event.flags == click::kLeftDownFlags || event.flags == click::kRightDownFlags ||
            event.flags == click::kMiddleDownFlags)
            ++presses;
    return presses;
}
