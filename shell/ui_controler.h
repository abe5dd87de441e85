#pragma once

#include "scene/myqquickview.h"

#include <QObject>

class Hid_Thread;
class QWidget;

// The scene's hold on the frameless main window: it moves, minimises and hides the window and
// blocks the scene's input. Published to the scene as "ui_Ctl".
class Ui_Controler : public QObject {
    Q_OBJECT
public:
    explicit Ui_Controler(QObject* parent = nullptr);

    // Frames the main window, creates the scene host as its child, loads the scene and publishes
    // the three native objects to it. Returns the scene host (also kept as view()).
    myQQuickView* setupUi(QWidget* window, Hid_Thread* link, const myQQuickView::Seams& seams = {});

    QWidget* window() const { return window_; }
    myQQuickView* view() const { return view_; }

public slots:
    void onMinimize();
    void onClose();
    // Offsets, not positions: the scene reports how far the pointer moved since the press.
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();

private:
    QWidget* window_ = nullptr;
    myQQuickView* view_ = nullptr;
};
