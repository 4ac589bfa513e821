#pragma once

#include "gui/app/WindowLooks.h"

#include <QPushButton>
#include <QString>

namespace vestimo::gui {

// Gives a control the name the program's commands (and tests) know it by.
template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new PushButton(caption, parent), name);
}

} // namespace vestimo::gui
