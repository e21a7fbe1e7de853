// frmCapture: the location picker. It covers the primary screen with a still picture of the screen
// as it was when it opened, so that the user seems to point at the real desktop while every click
// lands on the picker. The main window shows through a hole in the picker and follows the pointer
// in its coordinate boxes. A press of any mouse button on the picture, or ESC, closes the picker;
// the boxes then hold the position of that moment.
//
// Where the system tells no program where the pointer is or where its windows stand (Wayland),
// the picker covers the screen the main window was on, follows the pointer with its own pointer
// events (a full-screen window starts at its screen's origin) and shows the coordinates itself,
// since no hole can be cut where the main window is. Without a picture of the screen (the
// compositor lets no program see it) the picker is see-through instead.
#pragma once

#include <QPixmap>
#include <QPointF>
#include <QWidget>

class PickerOwner;
class QLabel;
class QScreen;

namespace ui {
class WindowTimer;
}

class frmCapture : public QWidget {
    Q_OBJECT

public:
    explicit frmCapture(PickerOwner& main);

    QLabel* Label1 = nullptr;          // "Press ESC key or click on the screen to exit."
    QLabel* Label2 = nullptr;          // "Click anywhere for the location you want."
    QLabel* lblPosition = nullptr;     // the live coordinates where no hole can be cut
    ui::WindowTimer* Timer1 = nullptr; // 100 ms: follows the main window sideways

    // Opening: steps the main window aside, captures the screen, covers it.
    void Form_Load();
    // Shows the picker over its screen.
    void ShowOverScreen();
    // Closing: gives the main window back its size, buttons and hot key.
    void Unload();
    void Timer1_Timer();
    const QPixmap& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CutHole();
    void TakePicture(QScreen* screen);
    void FollowPointer(const QPointF& local);
    bool PlacesKnown() const;
    void Form_Unload();
    QLabel* AddLabel(const QString& text, int top);

    PickerOwner& m_main;
    QWidget& m_window; // the main window
    QPixmap m_picture;
    int m_mainLeft = 0; // the main window's left edge when the hole was cut
    bool m_unloaded = false;
};
