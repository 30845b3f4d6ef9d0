#define GAME_SOURCE_FILE 0

#include "game/choice_menu.h"

#include "core/basic_array.h"
#include "core/number_truncate.h"
#include "core/string_builtins.h"
#include "core/string_ops.h"
#include "frame/frame_function.h"
#include "frame/graphics_commands.h"
#include "game/element_access.h"
#include "game/fire_keys.h"
#include "game/game_state.h"
#include "game/text_print.h"
#include "input_audio/input_commands.h"
#include "game/procedure.h"

namespace {

bool IsEmpty(const BasicString& s) { return StrEqualsCStr(s, "") != 0; }
bool IsDevice(const char* name) { return StrEqualsCStr(info_Str, name) != 0; }
bool IsRow(double row) { return row == 1 || row == 2 || row == 3 || row == 4 || row == 5; }

// Grey of the pulsing highlight: the whole part of hicol, modulo 256.
double BarColour() {
  int64_t g = TruncInt64(hicol) % 256;
  if (g < 0) g += 256;
  return double(g + 256 * g + 65536 * g);
}

// Highlight bar of a row, firstTop being the top of row 1 in 640 x 480
// units; the handheld's bar is drawn in its half-size screen.
void FullBar(double row, double firstTop) {
  DrawRectCmd(0, firstTop + 20 * (row - 1), At(optwide, row), 20, BarColour());
}
void HalfBar(double row, double firstTop) {
  DrawRectCmd(0, firstTop * 0.5 + 10 * (row - 1), At(optwide, row) * 0.5, 10, BarColour());
}

}  // namespace

double ChoiceMenu(double o, BasicString o1_Str, BasicString o2_Str, BasicString o3_Str,
                  BasicString o4_Str, BasicString o5_Str) {
  PROC; PARAM(o); PARAM(o1_Str); PARAM(o2_Str); PARAM(o3_Str); PARAM(o4_Str); PARAM(o5_Str);
  LOCAL(num); LOCAL(mx); LOCAL(my); LOCAL(b1); LOCAL(b2);

  // First call of a page: the page becomes the background and the option
  // widths are measured.
  STMT; if (screendrawn == 0) {
    STMT; GrabBackground();
    STMT; screendrawn = 1;
    STMT; ArrayRedimKeep(optwide, 0);
    STMT; ArrayRedimKeep(optwide, 6);
    STMT; LOCAL(loop);
    STMT; LOCAL(cr);
    const BasicString* options[6] = {nullptr, &o1_Str, &o2_Str, &o3_Str, &o4_Str, &o5_Str};
    for (int k = 1; k <= 5; ++k) {
      STMT; if (!IsEmpty(*options[k])) {
        STMT; for (loop = 0; loop <= StrLengthNumber(*options[k]) - 1; loop = loop + 1) {
          STMT; cr = AscCode(MidString(*options[k], loop, 1)) - 32;
          STMT; At(optwide, k) = At(optwide, k) + At(kern, cr);
        }
      }
    }
    STMT; for (loop = 1; loop <= 5; loop = loop + 1) {
      STMT; if (At(optwide, loop) > 0) {
        STMT; At(optwide, loop) = At(optwide, loop) + resx;
      }
    }
  }

  STMT; PrintTxt("Do you want to:", 0, o);
  STMT; o = o + 40;
  STMT; num = !IsEmpty(o1_Str) + !IsEmpty(o2_Str) + !IsEmpty(o3_Str) + !IsEmpty(o4_Str) +
              !IsEmpty(o5_Str);

  // Buttons: Up and Down move the cursor one row a press, fire chooses it.
  STMT; if (IsDevice("F100")) {
    STMT; if (KeyState(208) == 1) {
      STMT; pressed = 1;
      STMT; while (pressed > 0) {
        STMT; pressed = KeyState(208);
      }
      STMT; hilite = hilite + 1;
      STMT; if (hilite > num) {
        STMT; hilite = 1;
      }
    }
    STMT; if (KeyState(200) == 1) {
      STMT; pressed = 1;
      STMT; while (pressed > 0) {
        STMT; pressed = KeyState(200);
      }
      STMT; hilite = hilite - 1;
      STMT; if (hilite < 1) {
        STMT; hilite = num;
      }
    }
    STMT; if (FireKeys() > 0) {
      STMT; pressed = 1;
      STMT; while (pressed > 0) {
        STMT; pressed = FireKeys();
      }
      STMT; const double chosen = hilite;
      STMT; hilite = 1;
      return chosen;
    }
    STMT; if (IsRow(hilite)) {
      STMT; HalfBar(hilite, o);
    }
  }

  // Pointer and touch: the row under the pointer is highlighted.
  STMT; if (IsDevice("F200") || IsDevice("DESKTOP")) {
    STMT; MouseState(mx, my, b1, b2);
    STMT; if (IsDevice("F200")) {
      STMT; mx = mx + mx;
      STMT; my = my + my;
    }
    STMT; hilite = 0;
    STMT; if (my > o && my < o + 20 * num) {
      STMT; LOCAL(opty);
      STMT; opty = my - o;
      STMT; opty = TruncInt32(opty / 20) + 1;
      STMT; if (IsRow(opty) && mx < At(optwide, opty)) {
        STMT; hilite = opty;
      }
    }
    STMT; if (IsDevice("DESKTOP") && IsRow(hilite)) {
      STMT; FullBar(hilite, o);
    }
    STMT; if (IsDevice("F200")) {
      STMT; if (b1 == 1) {
        STMT; pressed = 1;
      }
      STMT; if (pressed == 1) {
        STMT; if (IsRow(hilite)) {
          STMT; HalfBar(hilite, o);
        }
        STMT; DrawSpriteCmd(52, mx * 0.5 - 2, my * 0.5 - 2);
      }
    }
  }

  // The options lie over the bar; the list ends at the first empty one.
  STMT; PrintTxt(o1_Str, 0, o);
  STMT; if (!IsEmpty(o2_Str)) {
    STMT; PrintTxt(o2_Str, 0, o + 20);
    STMT; if (!IsEmpty(o3_Str)) {
      STMT; PrintTxt(o3_Str, 0, o + 40);
      STMT; if (!IsEmpty(o4_Str)) {
        STMT; PrintTxt(o4_Str, 0, o + 60);
        STMT; if (!IsEmpty(o5_Str)) {
          STMT; PrintTxt(o5_Str, 0, o + 80);
        }
      }
    }
  }

  // Desktop: a press chooses the row it was made on, once released.
  STMT; if (IsDevice("DESKTOP")) {
    STMT; DrawSpriteCmd(51, mx - 15, my - 15);
    STMT; if (b1 == 1) {
      STMT; while (b1 == 1) {
        STMT; MouseState(mx, my, b1, b2);
      }
      return hilite;
    }
  }
  // Touch: the row under the touch chooses when the touch is lifted.
  STMT; if (IsDevice("F200")) {
    STMT; if (pressed == 1 && b1 == 0) {
      STMT; pressed = 0;
      return hilite;
    }
  }

  STMT; ShowScreen();
  return 0;
}
