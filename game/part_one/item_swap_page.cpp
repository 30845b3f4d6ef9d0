// Statements here report the calling location's source-file index: the page
// runs in that procedure's scope.
#define GAME_SOURCE_FILE 1

#include "game/part_one/item_swap_page.h"

#include "core/basic_array.h"
#include "core/basic_string.h"
#include "game/choice_menu.h"
#include "game/element_access.h"
#include "game/game_state.h"
#include "game/pictures.h"
#include "game/text_print.h"
#include "game/word_wrap.h"
#include "game/procedure.h"

namespace {

const char* ListedLine(const SwapItem& item) {
  if (item.altFlag >= 0 && item.altLine != nullptr && At(obj, item.altFlag) > 0) return item.altLine;
  return item.itemLine;
}

}  // namespace

void ItemSwapOverlays(ProcedureScope& procScope_, const ItemSwapPage& page) {
  for (int i = 0; i < page.count; ++i) {
    const SwapItem& item = page.items[i];
    STMT; if (At(obj, item.flag) == 0) {
      STMT; DrawPic(item.slot, item.x, item.y);
    }
  }
}

void ItemSwapMenu(ProcedureScope& procScope_, const ItemSwapPage& page, double listStart) {
  STMT; LOCAL(have);
  for (int i = 0; i < page.count; ++i) {
    STMT; if (At(obj, page.items[i].flag) > 0) {
      STMT; have = page.items[i].flag;
    }
  }
  STMT; LOCAL(pos);
  STMT; pos = listStart;
  if (page.listHeading != nullptr) {
    STMT; if (screendrawn == 0) {
      STMT; WrapText(page.listHeading, pos);
    }
    STMT; pos = pos + 20;
  }

  // The list: every item but the carried one. The menu rows follow the same
  // order, after the first option.
  const SwapItem* rows[6] = {};
  int rowCount = 1;
  const SwapItem* carried = nullptr;
  for (int i = 0; i < page.count; ++i) {
    const SwapItem& item = page.items[i];
    STMT; if (item.flag != have) {
      STMT; if (screendrawn == 0) {
        STMT; PrintTxt(ListedLine(item), 0, pos);
      }
      STMT; pos = pos + 20;
      if (rowCount < 5) rows[++rowCount] = &item;
    } else {
      carried = &item;
    }
  }

  STMT; pos = pos + page.gapBefore;
  if (carried != nullptr) {
    STMT; if (screendrawn == 0) {
      STMT; PrintTxt(carried->swapLine, 0, pos);
    }
  }
  STMT; pos = pos + page.gapAfter;

  const char* labels[6] = {"", "", "", "", "", ""};
  labels[1] = (carried != nullptr && !page.stay) ? carried->carriedLabel : page.firstOption;
  for (int r = 2; r <= rowCount; ++r) labels[r] = rows[r]->lyingLabel;
  STMT; opt = ChoiceMenu(pos, labels[1], labels[2], labels[3], labels[4], labels[5]);

  if (!page.stay) {
    STMT; if (opt > 0) {
      STMT; loc = page.exit;
      STMT; if (have != 0) {
        STMT; At(obj, have) = 0;
      }
      STMT; if (opt == 1 && have != 0) {
        STMT; At(obj, have) = 1;
      }
      for (int r = 2; r <= rowCount; ++r) {
        STMT; if (opt == r) {
          STMT; At(obj, rows[r]->flag) = 1;
        }
      }
    }
  } else {
    STMT; if (opt == 1) {
      STMT; loc = page.exit;
    }
    STMT; if (opt >= 2) {
      STMT; if (have != 0) {
        STMT; At(obj, have) = 0;
      }
      for (int r = 2; r <= rowCount; ++r) {
        STMT; if (opt == r) {
          STMT; At(obj, rows[r]->flag) = 1;
        }
      }
    }
  }
}
