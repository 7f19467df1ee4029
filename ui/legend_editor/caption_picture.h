#pragma once
// A caption's picture inside its box: where the mouse takes it, and where a drag may move it.

#include "ui/legend_editor/caption_file.h"

// The point (client pixels of the box) lies on the picture: from its left edge inclusive to
// left + width exclusive, and likewise from the top.
bool PictureContains(const ImageRect& picture, int x, int y);

// The picture moved by (dx, dy), or where it was when the move would leave it no area in
// common with the box's client rectangle (0, 0, clientW, clientH): it may hang out of the box,
// but never wholly.
ImageRect DragPicture(const ImageRect& picture, int dx, int dy, int clientW, int clientH);
