#pragma once

#include "ColourScheme.h"

#include <QDialog>

class Controller;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// The preferences, a dialog over the main window. The check box, the window style and the export
// encoding are copies of the settings in use: filled when the dialog opens, copied back by OK.
// A colour picked shows in the table at once; Cancel (or Escape) puts back every colour as it
// was when the dialog opened, Reset Colours the theme's defaults. A summary colour that would
// not read on the table's rows is made darker (or lighter) until it does, with a note.
class PreferencesWindow : public QDialog
{
    Q_OBJECT

public:
    PreferencesWindow(Controller *controller, ColourScheme *colours, QWidget *parent = nullptr);

    void showPreferences();
    QCheckBox *checkUpdateBox() const { return m_checkUpdate; }
    QButtonGroup *windowStyleGroup() const { return m_style; }
    QComboBox *exportEncodingBox() const { return m_encoding; }
    // The well of a colour: 0 marker, 1 ATM, 2 commission, 3 interest, 4 Yahoo.
    QPushButton *colourWell(int index) const;
    // Sets a well's colour as a pick in the colour dialog does.
    void pickColour(int index, const QColor &colour);
    // Why the last colour picked was changed; empty when it was taken as it was.
    QLabel *colourNote() const { return m_note; }

    void accept() override;
    void reject() override;

signals:
    // A colour changed or OK was pressed: the table is drawn afresh.
    void preferencesChanged();

private:
    void setPreferenceContents();
    void changedPreferences();
    void refreshWell(int index);
    void resetColours();

    Controller *m_controller;
    ColourScheme *m_colours;
    ColourScheme m_coloursBefore; // as they were when the dialog opened
    QCheckBox *m_checkUpdate;
    QButtonGroup *m_style;
    QComboBox *m_encoding;
    QLabel *m_note;
    QList<QPushButton *> m_wells;
};
