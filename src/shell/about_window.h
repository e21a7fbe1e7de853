// frmAbout: the program's name, version, description and links. Loaded hidden at start-up,
// shown modally on demand, hidden again by OK or its close box, unloaded at shut-down.
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace platform {
class Shell;
}

class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(platform::Shell& shell, QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblEmail = nullptr;
    QLabel* lblHomepage = nullptr;
    QLabel* lblSchool = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;

    // Where each link label leads.
    static constexpr const char* kEmailTarget = "mailto:feedback@zorvane.org";
    static constexpr const char* kHomepageTarget = "https://zorvane.org";
    static constexpr const char* kSchoolTarget = "https://www.open.ac.uk";

    void cmdOK_Click();
    // Unloads the window for good (the main window's shut-down).
    void Unload();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* AddLink(const QString& caption);
    void SetUnderlined(QLabel* label, bool underlined);
    void OpenLink(QLabel* label);

    platform::Shell& m_shell;
    std::array<QLabel*, 3> m_links{};
    bool m_unloading = false;
};
