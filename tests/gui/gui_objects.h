#pragma once
// How many GDI and USER objects this process holds, for leak tests.
// GetGuiResources answers where the system counts them; Wine answers 0, so
// there the objects are counted where Wine keeps them.

namespace qmtest {

// Live GDI objects (bitmaps, DCs, fonts, brushes, pens, regions, ...).
int GdiObjectCount();
// USER objects; under Wine the windows and menus of this process.
int UserObjectCount();

}  // namespace qmtest
