#pragma once

#include <QWidget>

class CKestrixDoc;
class ViewServices;

// Placeholder plot windows: white with their titles, until the depth plots land.
// Each view reads `doc` at every paint; neither pointer is owned.
class CInclView : public QWidget {
    Q_OBJECT
public:
    CInclView(CKestrixDoc* doc, ViewServices* services, QWidget* parent = nullptr);
protected:
    void paintEvent(QPaintEvent*) override;
};

class CAzView : public QWidget {
    Q_OBJECT
public:
    CAzView(CKestrixDoc* doc, ViewServices* services, QWidget* parent = nullptr);
protected:
    void paintEvent(QPaintEvent*) override;
};

class CMagView : public QWidget {
    Q_OBJECT
public:
    CMagView(CKestrixDoc* doc, ViewServices* services, QWidget* parent = nullptr);
protected:
    void paintEvent(QPaintEvent*) override;
};
