/* The font baker's stb_truetype and stb_rect_pack, compiled into the font
 * fuzz target with the sanitizers and coverage on, so that a fault inside
 * them is seen where it happens. The program's own definitions take the place
 * of the shared libstb's. */
#define STB_TRUETYPE_IMPLEMENTATION
#define STB_RECT_PACK_IMPLEMENTATION
#include <stb_rect_pack.h>
#include <stb_truetype.h>
