// The item-swap page: a place where a group of two to four items lies, of
// which the player carries at most one. Both parts use it.
//
// A location procedure loads its picture set and draws its own backdrop and
// heading; the page does the rest, in the procedure's own scope (so the
// debugger sees `have` and `pos` among that procedure's locals):
//
//   double PartOneLoc02() {
//     PROC;
//     STMT; if (loaded != 2) { ...LoadPic... }
//     STMT; if (screendrawn == 0) {
//       STMT; DrawPic(gfxsky, 0, 0);
//       STMT; DrawPic(0, 0, 0);
//       STMT; ItemSwapOverlays(procScope_, kCabinItems);
//       STMT; PrintTxt(...heading...);
//     }
//     STMT; ItemSwapMenu(procScope_, kCabinItems, 50);
//     return 0;
//   }
//
// ItemSwapMenu works out `have` (the carried item's flag index, 0 = none,
// the highest set flag wins) and `pos`, lists every item but the carried one
// from the list start down (20 a row, printed only while screendrawn = 0,
// counted always), prints the carried item's swap line after gapBefore,
// leaves gapAfter and runs the menu there:
//   nothing carried: firstOption, then "take" labels of all items in order;
//   item k carried:  k's carried label (stay pages: firstOption), then the
//                    take labels of the other items in order.
// A choice on a move-on page goes to exit; the carried flag is cleared, then
// option 1 sets it again (keep) and option r >= 2 sets the item of row r.
// On a stay page option 1 goes to exit and nothing changes; r >= 2 swaps and
// stays, so the next frame draws the same page with the new flags.
#pragma once

class ProcedureScope;

struct SwapItem {
  int flag;                  // obj index: 1 carried, 0 lying here
  double slot, x, y;         // overlay, drawn while the item lies here
  const char* itemLine;      // listed while it lies here ("a shovel")
  int altFlag;               // obj index choosing altLine while > 0; -1 none
  const char* altLine;       // ("a bottle of spa water")
  const char* swapLine;      // "You can swap the shovel"
  const char* carriedLabel;  // "Keep the shovel"
  const char* lyingLabel;    // "Take the shovel"
};

struct ItemSwapPage {
  const SwapItem* items;    // in ascending flag order
  int count;                // 2 to 4
  double gapBefore;         // before the swap line's row
  double gapAfter;          // after it, to the menu
  const char* firstOption;  // "Take nothing", or the stay page's leave label
  bool stay;                // stay variant: swaps keep the player here
  double exit;              // where the choices (stay: the leave option) lead
  const char* listHeading;  // wrapped at the list start, list a row lower; null = none
};

// Draws the overlay of every item that lies here. Call while drawing the page.
void ItemSwapOverlays(ProcedureScope& procScope_, const ItemSwapPage& page);

// One frame of the list, swap line, menu and choice; the list begins at
// listStart. Sets opt (and loc and obj on a choice).
void ItemSwapMenu(ProcedureScope& procScope_, const ItemSwapPage& page, double listStart);
