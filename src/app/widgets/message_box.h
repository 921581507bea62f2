// Every message box of the module windows goes through here, so that tests
// can answer them without a modal loop.
#pragma once

#include <QMessageBox>
#include <functional>

using MessageBoxHandler = std::function<QMessageBox::StandardButton(
    QWidget* parent, const QString& text, QMessageBox::Icon icon,
    QMessageBox::StandardButtons buttons)>;

// Shows text with the given icon and buttons, captioned with the caption set
// at start unless one is given; returns the button pressed.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const QString& text,
                                           QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           const QString& caption = QString());

// Replaces the modal box by handler; an empty handler restores the box.
// Returns the handler that was in place.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The caption of every box from now on (the data file's application title);
// the product's name until one is set.
void SetMessageBoxCaption(const QString& caption);
