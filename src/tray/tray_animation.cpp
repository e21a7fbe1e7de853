// The tray icon's modes (blank, the main window's icon, an icon theme), the theme's idle and
// running animations that follow the click state, and the theme submenu.
#include "store/settings_file.h"
#include "tray/sys_tray_window.h"
#include "tray/tray_rules.h"
#include "ui/menu_click.h"
#include "ui/window_timer.h"

#include <QAction>
#include <QBuffer>
#include <QImageReader>
#include <QMenu>
#include <QPixmap>

#include <cstdio>
#include <map>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

// Frame pictures are small icons; a picture claiming more is not decoded at all.
constexpr int kLargestFrameSide = 1024;
// What a frame is kept at: a tray icon's size on a screen of high density. A larger picture is
// scaled down as it is loaded, so a theme costs little memory whatever its pictures' size.
constexpr int kFrameSide = 64;

// The picture decoders tell of a damaged file on standard error (the PNG one straight, the others
// through the toolkit's messages); the empty slot such a frame leaves says enough. While a frame
// is decoded, standard error leads nowhere.
class QuietDecoders {
public:
    QuietDecoders() {
#ifdef Q_OS_UNIX
        std::fflush(stderr);
        m_standardError = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
        const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (nowhere >= 0) {
            ::dup2(nowhere, STDERR_FILENO);
            ::close(nowhere);
        }
#endif
    }
    ~QuietDecoders() {
#ifdef Q_OS_UNIX
        std::fflush(stderr);
        if (m_standardError >= 0) {
            ::dup2(m_standardError, STDERR_FILENO);
            ::close(m_standardError);
        }
#endif
    }
    QuietDecoders(const QuietDecoders&) = delete;
    QuietDecoders& operator=(const QuietDecoders&) = delete;

private:
    int m_standardError = -1;
};

QPixmap LoadFrame(const std::string& path) {
    const std::optional<std::string> bytes = tray::ReadFrameBytes(path);
    if (!bytes)
        return {};
    QByteArray data = QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    const QuietDecoders quiet;
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kLargestFrameSide || size.height() > kLargestFrameSide))
        return {};
    QImage image = reader.read();
    if (image.isNull() || image.width() > kLargestFrameSide || image.height() > kLargestFrameSide)
        return {};
    if (image.width() > kFrameSide || image.height() > kFrameSide)
        image = image.scaled(kFrameSide, kFrameSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

// The picture slots of one sequence: a frame that does not load leaves its slot empty for the
// next frame to take. A file named by several frames (of either sequence) is loaded once.
std::vector<QIcon> LoadFrames(const std::vector<std::string>& paths,
                              std::map<std::string, QPixmap>& loadedFiles) {
    std::vector<QPixmap> pictures;
    std::vector<bool> loaded;
    for (const std::string& path : paths) {
        auto found = loadedFiles.find(path);
        if (found == loadedFiles.end())
            found = loadedFiles.emplace(path, LoadFrame(path)).first;
        pictures.push_back(found->second);
        loaded.push_back(!pictures.back().isNull() && pictures.back().height() > 0);
    }
    std::vector<QIcon> frames;
    for (const auto& frame : tray::ArrangeSlots(loaded))
        frames.push_back(frame ? QIcon(pictures[*frame]) : QIcon());
    return frames;
}

// Menu captions show '&' as written, not as a keyboard mnemonic.
QString MenuText(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void FrmSysTray::ApplyMode(int index) {
    if (PreviousModeItem >= 0 && PreviousModeItem < 3)
        mTrayIconMode[static_cast<std::size_t>(PreviousModeItem)]->setChecked(false);
    if (index >= 0 && index < 3)
        mTrayIconMode[static_cast<std::size_t>(index)]->setChecked(true);
    PreviousModeItem = index;
    CurrentIconMode = static_cast<int16_t>(index);
    TmrAnimation1->setEnabled(false);
    TmrAnimation2->setEnabled(false);
    if (index == tray::kBlankIcon) {
        m_icon = m_blank;
    } else if (index == tray::kMainWindowIcon) {
        TrayIconOfMainWindow();
    } else if (index == tray::kThemeIcon) {
        TrayIconOfMainWindow();
        LoadTheme();
        UpdateAnimation();
    }
    ShellNotifyModify();
}

void FrmSysTray::LoadTheme() {
    const std::optional<std::string> stored =
        store::GetConfigValue(m_main.SettingsFile(), "TrayIconThemeFile");
    // A settings file that cannot be read names no theme: the frames stay as they are.
    if (!stored || *stored == LoadedThemeFile)
        return;
    const tray::ThemeLoad load = tray::LoadIconTheme(*stored, m_dataFolder, m_theme);
    std::map<std::string, QPixmap> loadedFiles;
    Animation1 = LoadFrames(m_theme.idle.frames, loadedFiles);
    Animation2 = LoadFrames(m_theme.running.frames, loadedFiles);
    TmrAnimation1->setInterval(m_theme.idle.interval);
    TmrAnimation2->setInterval(m_theme.running.interval);
    // A theme that is missing is not remembered as loaded: its frames are gone.
    LoadedThemeFile = load == tray::ThemeLoad::Missing ? std::string() : *stored;
}

void FrmSysTray::UpdateAnimation() {
    if (CurrentIconMode != tray::kThemeIcon)
        return;
    TmrAnimation1->setEnabled(false);
    TmrAnimation2->setEnabled(false);
    m_resetIdle = m_resetRunning = true;
    if (EngineRunning()) {
        TmrAnimation2_Timer();
        Animate(TmrAnimation2, mTrayIconRunningAnimate->isChecked(), Animation2);
    } else {
        TmrAnimation1_Timer();
        Animate(TmrAnimation1, mTrayIconIdleAnimate->isChecked(), Animation1);
    }
}

// A sequence of one frame shows a still icon: no timer runs for it, nor for an icon that is not
// in a notification area.
void FrmSysTray::Animate(ui::WindowTimer* timer, bool ticked, const std::vector<QIcon>& frames) {
    timer->setEnabled(ticked && m_added && frames.size() > 1);
}

void FrmSysTray::TmrAnimation1_Timer() {
    ShowNextFrame(Animation1, IdleFrameIndex, m_resetIdle);
}

void FrmSysTray::TmrAnimation2_Timer() {
    ShowNextFrame(Animation2, RunningFrameIndex, m_resetRunning);
}

// The index moves on before the frame is shown; after a reset it counts from the first slot.
void FrmSysTray::ShowNextFrame(const std::vector<QIcon>& frames, std::size_t& index, bool& reset) {
    index = tray::NextFrameIndex(index, frames.size(), reset);
    reset = false;
    TrayIcon(frames[index]);
}

void FrmSysTray::mTrayIconMode_Click(int index) {
    ApplyMode(index);
}

void FrmSysTray::mTrayIconIdleAnimate_Click() {
    mTrayIconIdleAnimate->setChecked(!mTrayIconIdleAnimate->isChecked());
    if (!EngineRunning())
        Animate(TmrAnimation1, mTrayIconIdleAnimate->isChecked(), Animation1);
}

void FrmSysTray::mTrayIconRunningAnimate_Click() {
    mTrayIconRunningAnimate->setChecked(!mTrayIconRunningAnimate->isChecked());
    if (EngineRunning())
        Animate(TmrAnimation2, mTrayIconRunningAnimate->isChecked(), Animation2);
}

void FrmSysTray::BuildThemeMenu() {
    m_themeItems = tray::ListThemes(m_dataFolder);
    for (std::size_t index = 0; index < m_themeItems.size(); ++index) {
        QAction* item = ui::AddMenuItem(mChooseIconTheme, MenuText(m_themeItems[index].caption),
                                        [this, index] { mIconTheme_Click(index); });
        mIconTheme.push_back(item);
    }
}

void FrmSysTray::mIconTheme_Click(std::size_t index) {
    SaveSettings({{"TrayIconThemeFile", m_themeItems.at(index).path}});
    ApplyMode(tray::kThemeIcon);
}
