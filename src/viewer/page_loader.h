// Loading the pictures of the page that the page slots name into the six picture boxes.
#pragma once

#include "text/text.h"

// The six steps of one picture box: fetch SiteBase + the catalogue entry of the box's slot,
// transcode it to a bitmap into `picture` (left as it was when that fails) and give the box
// `picture`. So a box whose entry fails repeats the last good picture before it, or is
// cleared when there was none. A box whose slot a page button moved meanwhile is left to the
// run that the button started.
void LoadPictureBox(int box, Bytes& picture);

// A worker's job: boxes 1 to 6 one after the other, each slot read when its box comes, then a
// working-set trim. Runs may overlap; each has its own picture buffer.
void LoadPicturePage();
