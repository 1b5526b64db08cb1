#pragma once

#include <QColor>
#include <QWidget>

// A progress bar with the classic control's rules: 16-bit unsigned bounds, a position pulled
// into the range, and an empty bar when the range is empty.
class ClassicProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit ClassicProgressBar(QWidget* parent = nullptr);

    void SetRange(int low, int high); // each bound keeps its low 16 bits
    void SetPos(int position);
    int Pos() const { return position_; }
    int RangeLow() const { return low_; }
    int RangeHigh() const { return high_; }
    void SetBarColour(const QColor& colour);
    QColor BarColour() const { return bar_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int low_ = 0;
    int high_ = 100;
    int position_ = 0;
    QColor bar_{0, 0, 128};
};
