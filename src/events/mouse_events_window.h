// The Mouse Events window: a table of click events, saved as events.xml, played row by row
// through the main window's click run. The table keeps its rows as data and shows them through a
// small pool of row controls that follow the rows in sight, so thousands of rows stay light.
#pragma once

#include "events/event_file.h"
#include "events/mouse_events_owner.h"
#include "events/sequence_window.h"
#include "events/table_layout.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace platform {
class Dialogs;
}

class frmMouseEvents final : public QWidget, public SequenceWindow {
    Q_OBJECT

public:
    // folder: where events.xml lives (the settings folder).
    frmMouseEvents(MouseEventsOwner& main, platform::Dialogs& dialogs, const std::string& folder);
    // What the main window calls to open this window (its mouseEventsWindowFactory): the window
    // made and loaded.
    static std::function<SequenceWindow*(MouseEventsOwner&)> Opener(platform::Dialogs& dialogs,
                                                                    std::string folder);
    ~frmMouseEvents() override;

    // The controls of one row in sight.
    struct RowControls {
        QLabel* lblNo = nullptr;
        QLineEdit* txtX = nullptr;
        QLineEdit* txtY = nullptr;
        QPushButton* btnLocate = nullptr;
        QCheckBox* chkButton = nullptr;
        QLineEdit* txtRepeat = nullptr;
        QLineEdit* txtInterval = nullptr;
        QCheckBox* chkRange = nullptr;
        QLineEdit* txtInterval2 = nullptr;
        int row = -1; // the row shown, -1 when unused

        // The nine controls, left to right.
        std::array<QWidget*, 9> Widgets() const;
    };
    enum class Mark { Normal, Playing, Played };

    QFrame* picOuter = nullptr;
    QWidget* picInner = nullptr;
    QScrollBar* HBar = nullptr;
    QScrollBar* VBar = nullptr;
    QPushButton* btnEventAdd = nullptr;
    QPushButton* btnEventClear = nullptr;
    QCheckBox* chkAutoMinimize = nullptr;
    QPushButton* btnEventStart = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnLoad = nullptr;
    QCheckBox* chkLoopEvents = nullptr;
    QLineEdit* txtLoop = nullptr;

    int16_t Rows = 0;
    int16_t numEventCount = 0;
    bool bForceUnload = false;
    std::vector<events::EventRecord> LoadedEvents;

    void Form_Load();
    void btnEventAdd_Click();
    void btnEventClear_Click();
    void btnSave_Click();
    void btnLocate_Click(int row);

    // The table's data, and the controls showing a row (nullptr when it is out of sight).
    const events::TableRow& TableRow(int row) const { return m_rows.at(size_t(row)); }
    int TableRows() const { return int(m_rows.size()); }
    Mark RowMark(int row) const { return m_marks.at(size_t(row)); }
    RowControls* ControlsOf(int row);
    const std::string& EventsPath() const { return strEventsPath; }

    // SequenceWindow.
    bool PassEvent(int16_t row) override;
    void btnEventStart_Click() override;
    void btnLoad_Click() override;
    bool LoopEventsTicked() const override;
    QString LoopText() const override;
    void SetLoopText(const QString& text) override;
    void SetRows(int16_t rows) override;
    void MarkRowPlayed(int row) override;
    void SetIdleControls(bool idle) override;
    void Unload(bool force) override;
    std::vector<std::pair<std::string_view, std::string>> ClosingSettings() override;
    void ShowWindow() override;
    void SetRowPosition(int row, const QString& x, const QString& y) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateCommands();
    std::unique_ptr<RowControls> CreateRowControls();
    void Bind(RowControls& controls, int row);
    void ShowRowsInSight();
    void FollowTabOrder(const events::RowSpan& span);
    void FocusCell(int row, size_t column);
    void ShowTableData();
    void LayoutScrollArea();
    void FitPanel();
    void ScrollIntoSight(int row);
    void AddEventRow();
    void SetMark(int row, Mark mark);
    void FollowTableOnScreen();
    bool CreateEventsFile();
    bool ReplaceDamagedFile();
    bool Ask(const std::string& question);
    void Message(const std::string& text);
    void Form_Unload();

    MouseEventsOwner& m_main;
    platform::Dialogs& m_dialogs;
    std::string strEventsPath;
    QWidget* m_clip = nullptr; // the viewport's inside, which clips the inner panel
    std::vector<events::TableRow> m_rows{events::NewTableRow()};
    std::vector<Mark> m_marks{Mark::Normal};
    std::vector<std::unique_ptr<RowControls>> m_pool;
    bool m_unloaded = false;
};
