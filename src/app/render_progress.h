// The renderer's progress on standard error: how many of the frames it has to draw (from the
// start frame through the last listed one) are drawn, as "vostrel-render: N of M frames drawn".
// A render to a late frame draws thousands of frames nobody asked to see, and minutes of
// silence read as a hang.
//
// On a terminal the line is rewritten in place at each whole percent and at each listed
// frame, so printing costs nothing next to the drawing; to a file or a pipe it is printed
// once per listed frame, so a log holds one line per picture instead of every rewrite.
#pragma once

class RenderProgress {
  public:
    RenderProgress(int framesToDraw, bool inPlace);
    ~RenderProgress();
    RenderProgress(const RenderProgress&) = delete;
    RenderProgress& operator=(const RenderProgress&) = delete;

    // After each frame drawn; `listed` when its picture was asked for (and is written).
    void FrameDrawn(bool listed);
    // Ends a line rewritten in place, so that whatever is printed next starts a line of its
    // own; the destructor does it too.
    void Finish();

  private:
    void Print();

    int framesToDraw_;
    bool inPlace_;
    int drawn_ = 0;
    int shownPercent_ = -1;
    bool lineOpen_ = false;
};
