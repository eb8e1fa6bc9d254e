#pragma once

#include <QDialog>
#include <QIcon>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QPushButton;

// Lets the user arrange the toolbar: the allowed items on the left, the toolbar's items on the
// right; items are added, removed and reordered by drag and drop or with the buttons, and the
// default arrangement can be restored. accepted() means arrangement() is to be used.
class ToolbarCustomizeDialog : public QDialog
{
    Q_OBJECT

public:
    // describe() gives an item's label and icon.
    using Describe = std::function<std::pair<QString, QIcon>(const QString &identifier)>;
    ToolbarCustomizeDialog(const QStringList &arrangement, Describe describe, QWidget *parent);

    QStringList arrangement() const;
    QListWidget *availableList() const { return m_available; }
    QListWidget *toolbarList() const { return m_toolbar; }

    void addSelected();
    void removeSelected();
    void moveSelected(int delta);
    void restoreDefault();

private:
    QListWidgetItem *makeItem(const QString &identifier) const;
    void setArrangement(const QStringList &arrangement);
    void refreshAvailable();

    Describe m_describe;
    QListWidget *m_available;
    QListWidget *m_toolbar;
};
