#pragma once

#include <QWidget>

#include <cstdint>
#include <vector>

namespace corvane {

// The strip above the panes that shows the whole recording at once: its volume envelope, the
// part the panes show marked over it, and the play position. A click or a drag centers the
// panes on the point under the mouse; Home and End go to the recording's ends.
//
// It keeps the envelope it is given and the columns it drew from it (recomputed only when the
// levels or the width change), so a paint costs one pass over its own width whatever the
// recording's length. It speaks the visible part as its accessible description ("0:12 to 0:42 of
// 3:05"). User-interface thread.
class OverviewStrip : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHeight = 36;

    explicit OverviewStrip(QWidget *parent = nullptr);

    // One loudness per block, 0 (silence) .. 1 (full scale), as the volume pane scales it, and
    // the seconds a block lasts. Allocates.
    void setLevels(std::vector<float> levels, double secondsPerBlock);
    // The blocks the panes show: from `first`, `count` of them; and the block playing, or -1.
    void setVisibleBlocks(int32_t first, int32_t count);
    void setPlayBlock(int32_t block);

    int32_t blockCount() const noexcept { return static_cast<int32_t>(m_levels.size()); }
    double secondsPerBlock() const noexcept { return m_secondsPerBlock; }
    // The x of a block's left edge, and the block under x, across the whole width.
    int xOfBlock(int64_t block) const noexcept;
    int32_t blockAtX(int x) const noexcept;
    // The marked part, in pixels.
    QRect visibleRect() const;

signals:
    // The panes should show the blocks from `first` on.
    void moveRequested(int32_t first);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void centerOn(int x);
    void updateDescription();

    std::vector<float> m_levels;
    std::vector<float> m_columns; // the loudest block of each pixel column
    double m_secondsPerBlock = 0.0;
    int32_t m_first = 0;
    int32_t m_count = 0;
    int32_t m_playBlock = -1;
};

} // namespace corvane
