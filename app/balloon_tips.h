#pragma once

#include <QString>

class QWidget;

// The window's tooltips look like balloons with a title and an icon; this gives a control its
// tip in that form.
void SetBalloonTip(QWidget& control, const QString& title, bool errorIcon, const QString& text);

// Gives every control of the main window its tip.
void InstallMainWindowTips(QWidget& dialog);
