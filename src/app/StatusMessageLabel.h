#pragma once

#include <QLabel>

// The status bar's message: takes the room the other fields leave and shows as much of its text
// as fits, cut with an ellipsis; text() stays whole.
class StatusMessageLabel : public QLabel
{
public:
    explicit StatusMessageLabel(QWidget *parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
