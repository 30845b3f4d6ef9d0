// The continue pages of the location procedures, read from the game's
// sources: every `WaitContinue()` call with its source file index and line
// (as the statement hook reports them), the location whose procedure reaches
// it (directly or through a helper of the same file), and a page name taken
// from the text key drawn before it. Also, per location, the flags its
// procedure and those helpers read, with the values they are compared to.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace contrast {

struct ContinueSite {
  int file = 0;  // the source file index of the statements
  int line = 0;
  double part = 0;
  int loc = 0;
  std::string source;  // file name, for messages
  std::string name;    // "part 2 loc 43 explosion"
};

struct LocationSource {
  double part = 0;
  int loc = 0;
  int file = 0;
  std::vector<int> sites;                 // indices into Sources::sites
  std::map<int, std::set<int>> flags;     // flag -> values compared with (0 and 1 always)
  bool writesSaveMarker = false;
};

// A flag value and the others the game sets in the same breath (the
// statements right after one another): a state with the one has the others.
using FlagLinks = std::map<std::pair<int, int>, std::map<int, int>>;

struct Sources {
  std::vector<ContinueSite> sites;
  std::map<double, FlagLinks> together;   // by part
  std::vector<LocationSource> locations;  // only those with continue sites
  std::vector<std::string> unplaced;      // "file.cpp:line" of calls no location reaches
  std::string error;                      // empty when the sources were read
};

// Reads game/part_one/*.cpp and game/part_two/*.cpp under `root`. Procedures
// whose names are in `skip` (and the helpers only they call) are left out.
Sources ReadContinueSites(const std::string& root, const std::set<std::string>& skip);

// Lines of `STMT; <statement>` in one source file, in order.
std::vector<int> StatementLines(const std::string& path, const std::string& statement);

}  // namespace contrast
