#include "game/location_table.h"

const PartProcedures* PartTable(double part) {
  if (part == 1) return &gPartOneProcedures;
  if (part == 2) return &gPartTwoProcedures;
  return nullptr;
}

LocationProcedure FindLocation(double part, double loc) {
  const PartProcedures* table = PartTable(part);
  if (table == nullptr || table->locations == nullptr) return nullptr;
  // Exact comparison: 1.5 or NaN name no location.
  if (!(loc >= 1 && loc <= table->count)) return nullptr;
  int n = static_cast<int>(loc);
  if (n != loc) return nullptr;
  return table->locations[n];
}

LocationProcedure FindIntro(double part) {
  const PartProcedures* table = PartTable(part);
  return table ? table->intro : nullptr;
}
