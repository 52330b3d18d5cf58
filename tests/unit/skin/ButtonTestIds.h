// Bitmap resources of the button tests.
#pragma once

#define IDB_TEST_MASK 501    // 16 x 16 monochrome: set bits in 2..13, clear border
#define IDB_TEST_COLOUR 502  // 16 x 16 colour: green in 4..11, magenta around it
#define IDB_TEST_MISSING 599 // not in the resources
