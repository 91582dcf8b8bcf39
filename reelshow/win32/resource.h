#pragma once
// Resource ids of reelshow.scr.
#define IDB_WEBSITE_GLYPHS 101
