#include "app/render_progress.h"

#include <cstdio>

#include "base/product.h"

RenderProgress::RenderProgress(int framesToDraw, bool inPlace)
    : framesToDraw_(framesToDraw), inPlace_(inPlace) {}

RenderProgress::~RenderProgress() {
    Finish();
}

void RenderProgress::FrameDrawn(bool listed) {
    ++drawn_;
    if (!inPlace_) {
        if (listed) Print();
        return;
    }
    const int percent = static_cast<int>(100LL * drawn_ / framesToDraw_);
    if (listed || percent != shownPercent_) Print();
    shownPercent_ = percent;
}

void RenderProgress::Finish() {
    if (!lineOpen_) return;
    std::fputc('\n', stderr);
    lineOpen_ = false;
}

void RenderProgress::Print() {
    std::fprintf(stderr, "%s%s: %d of %d frames drawn%s", inPlace_ ? "\r" : "", kRendererProgram,
                 drawn_, framesToDraw_, inPlace_ ? "" : "\n");
    lineOpen_ = inPlace_;
}
