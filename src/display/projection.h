// The show's perspective: viewport and projection for a picture of width x height, with the
// model-view matrix selected (and reset) on return. Needs a current context.
#pragma once

void SetProjection(int width, int height);
