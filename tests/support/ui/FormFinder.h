#pragma once
// Finding a form's controls the way a screen reader does: fields by the
// caption bound to them (their accessible name), buttons by their text.

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QString>
#include <QWidget>

template <class T = QWidget>
T* FindField(QWidget* root, const QString& accessibleName)
{
    for (T* w : root->findChildren<T*>())
        if (w->accessibleName() == accessibleName) return w;
    return nullptr;
}

inline QAbstractButton* FindButton(QWidget* root, const QString& text)
{
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// Replaces a line edit's text as a paste would (no key filter involved).
inline bool SetFieldText(QWidget* root, const QString& accessibleName, const QString& text)
{
    auto* field = FindField<QLineEdit>(root, accessibleName);
    if (field) field->setText(text);
    return field != nullptr;
}

// Picks a window's menu item by its text, as the user does.
inline bool PickMenuItem(QWidget* window, const QString& text)
{
    for (QAction* item : window->findChildren<QAction*>())
        if (item->text() == text) {
            item->trigger();
            return true;
        }
    return false;
}
