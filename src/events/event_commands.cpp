// The Mouse Events window's commands below the table: its opening and closing with their two
// settings, and saving and loading events.xml.
#include "events/mouse_events_window.h"

#include "platform/dialogs_service.h"
#include "runtime/conversions.h"
#include "shell/app_info.h"
#include "store/backup_file.h"
#include "store/file_system.h"
#include "store/settings_file.h"
#include "store/xml_document.h"
#include "ui/typing_limit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The commands are narrower than the line allows, so that the check boxes between them have room
// for their whole captions.
QPushButton* Command(QWidget* parent, const char* caption, const char* name, int x, int y) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, y, 90, 25);
    return button;
}

QCheckBox* Option(QWidget* parent, const char* caption, const char* name, int x, int y, int width) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(x, y, width, 21);
    return box;
}

// Ends the message about a write that failed with the reason the system gave.
std::string Reason() {
    const std::string why = store::LastWriteFailure();
    return why.empty() ? "." : " (" + why + ").";
}

} // namespace

void frmMouseEvents::CreateCommands() {
    btnEventAdd = Command(this, "&Add event", "btnEventAdd", 8, 288);
    btnEventClear = Command(this, "&Clear events", "btnEventClear", 102, 288);
    chkAutoMinimize = Option(this, "Auto Minimize", "chkAutoMinimize", 196, 290, 119);
    btnEventStart = Command(this, "Start &events", "btnEventStart", 319, 288);
    btnSave = Command(this, "Save to &XML", "btnSave", 8, 318);
    btnLoad = Command(this, "&Load XML", "btnLoad", 102, 318);
    chkLoopEvents = Option(this, "Loop Events", "chkLoopEvents", 196, 320, 104);
    txtLoop = new QLineEdit(QStringLiteral("1"), this);
    txtLoop->setObjectName(QStringLiteral("txtLoop"));
    txtLoop->setAccessibleName(QStringLiteral("Loop count"));
    txtLoop->setGeometry(304, 320, 57, 21);
    txtLoop->setToolTip(QStringLiteral("Times to repeat mouse click"));
    txtLoop->setEnabled(false);
    ui::SetTypingLimit(txtLoop, 9);
    auto* times = new QLabel(QStringLiteral("time(s)"), this);
    times->setGeometry(366, 322, 48, 17);
    auto* firstRow = new QLabel(
        QStringLiteral("The values in the 1st row will be the default values for subsequent rows."),
        this);
    firstRow->setGeometry(8, 348, 405, 17);
    auto* loopNote = new QLabel(
        QStringLiteral(
            "Loop events value will be saved to XML as well. 0=infinite 1=default/disabled"),
        this);
    loopNote->setGeometry(8, 366, 405, 17);
    for (QLabel* note : {firstRow, loopNote}) {
        QFont font = note->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        note->setFont(font);
    }
    // The user's commands follow the table on screen again after an unattended run.
    const auto user = [this](void (frmMouseEvents::*command)()) {
        return [this, command] {
            FollowTableOnScreen();
            (this->*command)();
        };
    };
    connect(btnEventAdd, &QPushButton::clicked, this, user(&frmMouseEvents::btnEventAdd_Click));
    connect(btnEventClear, &QPushButton::clicked, this, user(&frmMouseEvents::btnEventClear_Click));
    connect(btnEventStart, &QPushButton::clicked, this, user(&frmMouseEvents::btnEventStart_Click));
    connect(btnSave, &QPushButton::clicked, this, user(&frmMouseEvents::btnSave_Click));
    connect(btnLoad, &QPushButton::clicked, this, user(&frmMouseEvents::btnLoad_Click));
    connect(chkLoopEvents, &QCheckBox::toggled, txtLoop, &QLineEdit::setEnabled);
}

// After an unattended run was stopped early, the rows counted are those of the file in memory;
// once the user works with the window again, they are the rows on screen.
void frmMouseEvents::FollowTableOnScreen() {
    SequenceState& sequence = m_main.Sequence();
    if (!sequence.bAutorun || sequence.numTotalEventsToRun > 0)
        return;
    sequence.bAutorun = false;
    Rows = int16_t(TableRows() - 1);
}

void frmMouseEvents::Form_Load() {
    m_main.MouseEventsOpened();
    const std::string settings = m_main.SettingsFile();
    const std::string minimize = store::GetConfigValue(settings, "AutoMinimize").value_or("0");
    chkAutoMinimize->setChecked(runtime::WholeValueOf(minimize) == 1);
    txtLoop->setText(QString::fromStdString(store::GetConfigValue(settings, "Loop").value_or("")));
    chkLoopEvents->setChecked(events::LoopTicked(txtLoop->text().toStdString()));
    txtLoop->setEnabled(chkLoopEvents->isChecked());
    Rows = 0;
    if (chkAutoMinimize->isChecked() && m_main.Sequence().bAutorun)
        showMinimized();
    else
        show();
}

void frmMouseEvents::Message(const std::string& text) {
    m_dialogs.MessageBox(text, shell::kAppTitle, platform::MsgIcon::None, platform::MsgButtons::Ok);
}

bool frmMouseEvents::CreateEventsFile() {
    store::TextStream file = store::CreateTextFile(strEventsPath);
    for (const std::string& line : events::EventFileSkeleton())
        file.WriteLine(line);
    if (file.Close())
        return true;
    Message(strEventsPath + " could not be written" + Reason());
    return false;
}

// A missing file is made without a question; a damaged one may be replaced (kept as a backup
// first); a good one is overwritten when the user agrees.
void frmMouseEvents::btnSave_Click() {
    if (!chkLoopEvents->isChecked())
        txtLoop->setText(QStringLiteral("1"));
    store::XmlDocument document;
    const store::LoadResult found = document.loadFile(strEventsPath);
    bool ready = false;
    if (found == store::LoadResult::Loaded)
        ready = Ask("Overwrite existing events.xml?");
    else if (found == store::LoadResult::Missing)
        ready = CreateEventsFile();
    else if (found == store::LoadResult::Damaged)
        ready = Ask(strEventsPath + " cannot be read as an event file.\nReplace it? The damaged "
                                    "file is kept as a backup first.") &&
                ReplaceDamagedFile();
    else
        Message(strEventsPath + " cannot be read.");
    if (!ready)
        return;
    if (found != store::LoadResult::Loaded &&
        document.loadFile(strEventsPath) != store::LoadResult::Loaded) {
        Message(strEventsPath + " cannot be read.");
        return;
    }
    events::WriteEventFile(document, m_rows, txtLoop->text().toStdString());
    if (!document.save(strEventsPath))
        Message(strEventsPath + " could not be saved" + Reason());
}

bool frmMouseEvents::Ask(const std::string& question) {
    return m_dialogs.MessageBox(question, "Confirmation", platform::MsgIcon::None,
                                platform::MsgButtons::YesNo) == platform::MsgResult::Yes;
}

// A damaged file is kept under the next backup name before the skeleton replaces it.
bool frmMouseEvents::ReplaceDamagedFile() {
    const std::optional<std::string> backup = store::KeepBackup(strEventsPath);
    if (!backup) {
        Message(strEventsPath + " could not be kept as a backup; it was left as it is.");
        return false;
    }
    if (!CreateEventsFile())
        return false;
    Message("The damaged file is kept as " + *backup + ".");
    return true;
}

void frmMouseEvents::btnLoad_Click() {
    store::XmlDocument document;
    const store::LoadResult loaded = document.loadFile(strEventsPath);
    if (loaded == store::LoadResult::Unreadable || loaded == store::LoadResult::TooLarge) {
        Message(strEventsPath + (loaded == store::LoadResult::TooLarge
                                     ? " is too large for an event file; it was left as it is."
                                     : " cannot be read."));
        return;
    }
    if (loaded != store::LoadResult::Loaded) {
        if (!Ask(strEventsPath + " not found.\nCreate events.xml?"))
            return;
        if (loaded == store::LoadResult::Missing)
            CreateEventsFile();
        else
            ReplaceDamagedFile();
        return;
    }
    events::EventFileContent content;
    if (events::ReadEventFile(document, content) == events::ReadProblem::TooManyRows) {
        Message(strEventsPath + " holds more than " + std::to_string(events::kMostRows) +
                " rows; it was not loaded.");
        return;
    }
    txtLoop->setText(QString::fromStdString(content.loop));
    chkLoopEvents->setChecked(events::LoopTicked(content.loop));
    btnEventClear_Click();
    numEventCount = int16_t(content.events.size());
    if (content.events.empty())
        return;
    if (m_main.Sequence().bAutorun) {
        LoadedEvents.clear();
        for (const events::EventFields& fields : content.events)
            LoadedEvents.push_back(events::ToRecord(fields));
        Rows = int16_t(LoadedEvents.size() - 1);
        return;
    }
    m_rows.clear();
    for (const events::EventFields& fields : content.events)
        m_rows.push_back(events::ToTableRow(fields));
    m_marks.assign(m_rows.size(), Mark::Normal);
    Rows = int16_t(m_rows.size() - 1);
    FitPanel();
}

// AutoMinimize; and the loop count as it stands now, unless an unattended run started with both
// words, which leaves the stored count alone.
std::vector<std::pair<std::string_view, std::string>> frmMouseEvents::ClosingSettings() {
    std::vector<std::pair<std::string_view, std::string>> values{
        {"AutoMinimize", chkAutoMinimize->isChecked() ? "1" : "0"}};
    if (!(m_main.Sequence().bAutoloadEvents && m_main.Sequence().bAutoTerminate)) {
        if (!chkLoopEvents->isChecked())
            txtLoop->setText(QStringLiteral("1"));
        values.emplace_back("Loop", txtLoop->text().toStdString());
    }
    return values;
}

void frmMouseEvents::Unload(bool force) {
    bForceUnload = force;
    close();
}

// While a sequence plays or is halted, closing minimizes instead, unless the program ends.
void frmMouseEvents::closeEvent(QCloseEvent* event) {
    if (!bForceUnload && m_main.Sequence().numTotalEventsToRun > 0) {
        event->ignore();
        showMinimized();
        return;
    }
    Form_Unload();
    event->accept();
}

void frmMouseEvents::Form_Unload() {
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_main.MouseEventsClosed(*this);
    if (!bForceUnload) // at the program's end they are in the main window's save
        store::SaveSettings(m_main.SettingsFile(), ClosingSettings());
}
