#pragma once

#include <QWidget>

class Controller;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
struct ColourScheme;

// The preferences window, an ordinary window beside the main one. The check box, the window
// style and the export encoding are copies of the settings in use: filled when the window is
// shown, copied back only by the save button. The colour wells are not copies: a colour picked
// takes effect at the table's next redraw.
class PreferencesWindow : public QWidget
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

signals:
    // A colour changed or the save button was pressed: the table is drawn afresh.
    void preferencesChanged();

private:
    void setPreferenceContents();
    void changedPreferences();
    void refreshWell(int index);

    Controller *m_controller;
    ColourScheme *m_colours;
    QCheckBox *m_checkUpdate;
    QButtonGroup *m_style;
    QComboBox *m_encoding;
    QList<QPushButton *> m_wells;
};
