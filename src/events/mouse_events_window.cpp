// The Mouse Events window: its controls, the table's rows shown through a pool of row controls,
// adding and clearing rows, scrolling, and the location picker serving a row.
#include "events/mouse_events_window.h"

#include "events/table_layout.h"
#include "store/file_system.h"
#include "store/settings_file.h"
#include "ui/typing_limit.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Enough row controls for every row that can be in sight at once.
constexpr int kPoolSize = 16;
const QString kLeft = QStringLiteral("Left");
const QString kRight = QStringLiteral("Right");
// What a screen reader calls each cell of a row after "Row n, " (the number tells the highlight).
constexpr const char* kCellNames[events::kColumns] = {nullptr,
                                                      "x",
                                                      "y",
                                                      "pick position",
                                                      "left button",
                                                      "clicks",
                                                      "interval in ms",
                                                      "random interval",
                                                      "upper interval in ms"};

void Place(QWidget* widget, const events::Rect& rect) {
    widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
}

// A text that is already shown stays as it is, caret and selection with it.
void ShowText(QLineEdit* box, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (box->text() != shown)
        box->setText(shown);
}

// The number label: bold while its row plays, grey once played; a screen reader hears which.
void ShowMark(QLabel* label, int row, frmMouseEvents::Mark mark) {
    using Mark = frmMouseEvents::Mark;
    label->setAccessibleName(QStringLiteral("Row %1").arg(row + 1) +
                             (mark == Mark::Playing  ? QStringLiteral(", playing")
                              : mark == Mark::Played ? QStringLiteral(", played")
                                                     : QString()));
    if (label->font().bold() != (mark == Mark::Playing)) {
        QFont font = label->font();
        font.setBold(mark == Mark::Playing);
        label->setFont(font);
    }
    const QPalette::ColorRole role =
        mark == Mark::Played ? QPalette::PlaceholderText : QPalette::WindowText;
    if (label->foregroundRole() != role)
        label->setForegroundRole(role);
}

QLineEdit* RowBox(QWidget* parent, int limit, const char* tip) {
    auto* box = new QLineEdit(parent);
    ui::SetTypingLimit(box, limit);
    if (tip)
        box->setToolTip(QString::fromLatin1(tip));
    return box;
}

} // namespace

frmMouseEvents::frmMouseEvents(MouseEventsOwner& main, platform::Dialogs& dialogs,
                               const std::string& folder)
    : QWidget(nullptr, Qt::Window), m_main(main), m_dialogs(dialogs),
      strEventsPath(store::BuildPath(folder, "events.xml")) {
    setObjectName(QStringLiteral("frmMouseEvents"));
    setWindowTitle(QStringLiteral("Mouse Events"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(417, 389);
    CreateControls();
    CreateCommands();
    ShowRowsInSight();
}

frmMouseEvents::~frmMouseEvents() = default;

std::function<SequenceWindow*(MouseEventsOwner&)> frmMouseEvents::Opener(platform::Dialogs& dialogs,
                                                                         std::string folder) {
    return [&dialogs, folder = std::move(folder)](MouseEventsOwner& main) -> SequenceWindow* {
        auto* window = new frmMouseEvents(main, dialogs, folder);
        window->Form_Load();
        return window;
    };
}

std::array<QWidget*, 9> frmMouseEvents::RowControls::Widgets() const {
    return {lblNo,     txtX,        txtY,     btnLocate,   chkButton,
            txtRepeat, txtInterval, chkRange, txtInterval2};
}

void frmMouseEvents::CreateControls() {
    picOuter = new QFrame(this);
    picOuter->setObjectName(QStringLiteral("picOuter"));
    picOuter->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    picOuter->setGeometry(0, 0, 417, 281);
    m_clip = new QWidget(picOuter);
    m_clip->setGeometry(picOuter->contentsRect());
    picInner = new QWidget(m_clip);
    picInner->setObjectName(QStringLiteral("picInner"));
    picInner->setGeometry(0, 0, 397, 241);
    // Opaque, so that scrolling moves what is drawn already (a scroll of a see-through widget
    // redraws all of it), and growing by a row draws only the new part.
    m_clip->setAutoFillBackground(true);
    picInner->setAutoFillBackground(true);
    picInner->setAttribute(Qt::WA_StaticContents);
    HBar = new QScrollBar(Qt::Horizontal, this);
    VBar = new QScrollBar(Qt::Vertical, this);
    // A bar's value is the panel's Left or Top: from 0 at the start down to its minimum; the bars
    // run inverted so that moving one down or right moves the panel up or left.
    for (QScrollBar* bar : {HBar, VBar}) {
        bar->hide();
        bar->setInvertedAppearance(true);
        bar->setInvertedControls(true);
    }
    // Scrolling moves what is drawn already and draws only what comes into sight.
    connect(HBar, &QScrollBar::valueChanged, this,
            [this](int value) { m_clip->scroll(value - picInner->x(), 0); });
    connect(VBar, &QScrollBar::valueChanged, this, [this](int value) {
        m_clip->scroll(0, value - picInner->y());
        ShowRowsInSight();
    });
    for (int i = 0; i < kPoolSize; ++i)
        m_pool.push_back(CreateRowControls());
}

std::unique_ptr<frmMouseEvents::RowControls> frmMouseEvents::CreateRowControls() {
    auto c = std::make_unique<RowControls>();
    c->lblNo = new QLabel(picInner);
    c->txtX = RowBox(picInner, 4, "x");
    c->txtY = RowBox(picInner, 4, "y");
    c->btnLocate = new QPushButton(QStringLiteral("<"), picInner);
    c->btnLocate->setToolTip(QStringLiteral("Locate"));
    c->chkButton = new QCheckBox(kLeft, picInner);
    c->chkButton->setToolTip(QStringLiteral("Untick for Right mouse button"));
    c->txtRepeat = RowBox(picInner, 20, "Times to repeat");
    c->txtInterval = RowBox(picInner, 9, nullptr);
    c->chkRange = new QCheckBox(picInner);
    c->txtInterval2 = RowBox(picInner, 9, nullptr);
    RowControls* self = c.get();
    const auto edits = [this, self](QLineEdit* box, std::string events::TableRow::*member) {
        connect(box, &QLineEdit::textEdited, this, [this, self, member](const QString& text) {
            if (self->row >= 0)
                m_rows[size_t(self->row)].*member = text.toStdString();
        });
    };
    edits(c->txtX, &events::TableRow::x);
    edits(c->txtY, &events::TableRow::y);
    edits(c->txtRepeat, &events::TableRow::clicks);
    edits(c->txtInterval, &events::TableRow::interval);
    edits(c->txtInterval2, &events::TableRow::interval2);
    connect(c->chkButton, &QCheckBox::toggled, this, [this, self](bool ticked) {
        self->chkButton->setText(ticked ? kLeft : kRight);
        if (self->row >= 0)
            m_rows[size_t(self->row)].left = ticked;
    });
    connect(c->chkRange, &QCheckBox::toggled, this, [this, self](bool ticked) {
        self->txtInterval2->setEnabled(ticked);
        if (self->row >= 0)
            m_rows[size_t(self->row)].range = ticked;
    });
    connect(c->btnLocate, &QPushButton::clicked, this, [this, self] {
        if (self->row >= 0)
            btnLocate_Click(self->row);
    });
    return c;
}

// Puts a row's data into a pool entry at the row's place.
void frmMouseEvents::Bind(RowControls& c, int row) {
    using events::Column;
    const events::TableRow& data = m_rows[size_t(row)];
    c.row = row;
    const auto widgets = c.Widgets();
    for (size_t column = 0; column < widgets.size(); ++column) {
        Place(widgets[column], events::CellRect(Column(column), row));
        if (widgets[column]->isHidden())
            widgets[column]->show();
    }
    c.lblNo->setText(QString::number(row + 1));
    ShowMark(c.lblNo, row, m_marks[size_t(row)]);
    for (size_t column = 1; column < widgets.size(); ++column)
        widgets[column]->setAccessibleName(
            QStringLiteral("Row %1, %2").arg(row + 1).arg(QLatin1String(kCellNames[column])));
    const QSignalBlocker quietButton(c.chkButton);
    const QSignalBlocker quietRange(c.chkRange);
    ShowText(c.txtX, data.x);
    ShowText(c.txtY, data.y);
    ShowText(c.txtRepeat, data.clicks);
    ShowText(c.txtInterval, data.interval);
    ShowText(c.txtInterval2, data.interval2);
    c.chkButton->setChecked(data.left);
    c.chkButton->setText(data.left ? kLeft : kRight);
    c.chkRange->setChecked(data.range);
    c.txtInterval2->setEnabled(data.range);
}

// The pool follows the rows in sight. The keyboard stays in the table: a cell leaving sight hands
// it to the same column of the nearest row in sight (meanwhile the window holds it, so that it
// does not pass along the chain to a row leaving sight too).
void frmMouseEvents::ShowRowsInSight() {
    const events::RowSpan span = events::RowsInSight(picInner->y(), m_clip->height(), TableRows());
    std::vector<RowControls*> free;
    int focusRow = -1;
    size_t focusColumn = 0;
    for (const auto& c : m_pool) {
        if (c->row >= span.first && c->row <= span.last && c->row < TableRows())
            continue;
        const auto widgets = c->Widgets();
        const auto focused = std::find(widgets.begin(), widgets.end(), focusWidget());
        if (focused != widgets.end()) {
            focusRow = c->row;
            focusColumn = size_t(focused - widgets.begin());
            setFocus(Qt::OtherFocusReason);
        }
        c->row = -1;
        for (QWidget* widget : widgets)
            widget->hide();
        free.push_back(c.get());
    }
    size_t next = 0;
    for (int row = span.first; row <= span.last; ++row) {
        if (ControlsOf(row) || next == free.size())
            continue;
        Bind(*free[next++], row);
    }
    if (next > 0)
        FollowTabOrder(span);
    if (focusRow >= 0 && span.first <= span.last)
        FocusCell(std::clamp(focusRow, span.first, span.last), focusColumn);
}

// Tab goes through the rows in sight in their order.
void frmMouseEvents::FollowTabOrder(const events::RowSpan& span) {
    QWidget* previous = nullptr;
    for (int row = span.first; row <= span.last; ++row)
        if (const RowControls* c = ControlsOf(row))
            for (QWidget* cell : c->Widgets()) {
                if (cell == c->lblNo)
                    continue;
                if (previous)
                    setTabOrder(previous, cell);
                previous = cell;
            }
}

// A cell that cannot take the keyboard (a disabled upper interval) gives it to the row's x.
void frmMouseEvents::FocusCell(int row, size_t column) {
    if (RowControls* c = ControlsOf(row)) {
        QWidget* cell = c->Widgets()[column];
        (cell->isEnabled() ? cell : c->txtX)->setFocus(Qt::OtherFocusReason);
    }
}

// The table's data changed: every row in sight shows it at once.
void frmMouseEvents::ShowTableData() {
    ShowRowsInSight();
    for (const auto& c : m_pool)
        if (c->row >= 0)
            Bind(*c, c->row);
}

frmMouseEvents::RowControls* frmMouseEvents::ControlsOf(int row) {
    for (const auto& c : m_pool)
        if (c->row == row)
            return c.get();
    return nullptr;
}

void frmMouseEvents::btnEventAdd_Click() {
    AddEventRow();
}

// A new row repeats the first row's current values. The panel goes back to its top left, where
// the first row, which new rows copy, is in sight.
void frmMouseEvents::AddEventRow() {
    if (m_rows.size() >= events::kMostRows) {
        Message("The table holds at most " + std::to_string(events::kMostRows) + " rows.");
        return;
    }
    m_rows.push_back(m_rows.front());
    m_marks.push_back(Mark::Normal);
    Rows = int16_t(m_rows.size() - 1);
    HBar->setValue(0);
    VBar->setValue(0);
    FitPanel();
}

// The inner panel takes the size of the rows there are; the bars follow.
void frmMouseEvents::FitPanel() {
    const events::Rect panel = events::InnerPanel(TableRows());
    picInner->resize(panel.width, panel.height);
    LayoutScrollArea();
    ShowTableData();
}

void frmMouseEvents::LayoutScrollArea() {
    if (isMinimized())
        return;
    events::ScrollInputs in;
    in.frameWidth = picOuter->width() - picOuter->contentsRect().width();
    in.frameHeight = picOuter->height() - picOuter->contentsRect().height();
    in.barThickness = 17;
    in.innerWidth = picInner->width();
    in.innerHeight = picInner->height();
    const events::ScrollLayout layout = events::LayoutScrollArea(in);
    Place(picOuter, layout.viewport);
    m_clip->setGeometry(picOuter->contentsRect());
    const std::pair<QScrollBar*, const events::ScrollBar*> bars[] = {{HBar, &layout.horizontal},
                                                                     {VBar, &layout.vertical}};
    for (const auto& [bar, wanted] : bars) {
        if (!wanted->shown) {
            bar->setValue(0); // the panel back at its place before the bar goes
            bar->hide();
            continue;
        }
        Place(bar, wanted->place);
        bar->setRange(wanted->minimum, 0);
        bar->setPageStep(wanted->largeStep);
        bar->setSingleStep(wanted->smallStep);
        bar->show();
    }
    ShowRowsInSight();
}

void frmMouseEvents::ScrollIntoSight(int row) {
    const events::Rect cell = events::CellRect(events::Column::X, row);
    const int top = picInner->y();
    if (cell.top + top < 0)
        VBar->setValue(-cell.top + 4);
    else if (cell.top + cell.height + top > m_clip->height())
        VBar->setValue(m_clip->height() - cell.top - cell.height - 8);
    ShowRowsInSight();
}

void frmMouseEvents::btnEventClear_Click() {
    m_rows.resize(1);
    m_marks.resize(1);
    Rows = 0;
    m_rows[0] = events::NewTableRow();
    // The panel fits the one row again at once, so that it is never left scrolled out of sight.
    FitPanel();
}

void frmMouseEvents::btnLocate_Click(int row) {
    hide();
    m_main.PickForRow(row);
}

void frmMouseEvents::ShowWindow() {
    showNormal();
    raise();
    activateWindow();
}

void frmMouseEvents::SetRowPosition(int row, const QString& x, const QString& y) {
    if (row < 0 || row >= TableRows())
        return;
    m_rows[size_t(row)].x = x.toStdString();
    m_rows[size_t(row)].y = y.toStdString();
    if (RowControls* c = ControlsOf(row))
        Bind(*c, row);
    ScrollIntoSight(row);
}
