#include "continue_sites.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>

namespace contrast {

namespace {

namespace fs = std::filesystem;

struct Function {
  std::string name;
  int first = 0;  // line numbers, 1-based
  int last = 0;
};

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Named after the location that shows the page and its text:
// "p2.loc43.explosion" at 43 -> "part 2 loc 43 explosion", "p2.loc23.nailed"
// at 24 -> "part 2 loc 24 nailed", "p1.dark.panic" at 30 -> "part 1 loc 30
// dark panic", the page's own words "To Be Continued...." -> "to be
// continued".
std::string PageName(double part, int loc, const std::string& key, const std::string& literal) {
  static const std::regex keyForm(R"re(p\d\.loc(\d+)(?:\.(\w+))?)re");
  static const std::regex shared(R"re(p\d\.(.*))re");
  std::smatch m;
  std::string name = "part " + std::to_string(int(part)) + " loc ";
  name += std::to_string(loc);
  if (std::regex_match(key, m, keyForm)) return m[2].matched ? name + " " + m[2].str() : name;
  name += " ";
  std::string words;
  const std::string text = !literal.empty()                  ? literal
                           : std::regex_match(key, m, shared) ? m[1].str()
                                                              : key;
  for (char c : text) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      words += char(std::tolower(static_cast<unsigned char>(c)));
    else if (!words.empty() && words.back() != ' ')
      words += ' ';
  }
  while (!words.empty() && words.back() == ' ') words.pop_back();
  return name + (words.empty() ? "page" : words);
}

}  // namespace

std::vector<int> StatementLines(const std::string& path, const std::string& statement) {
  std::vector<int> found;
  const std::vector<std::string> lines = ReadLines(path);
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find("STMT; " + statement) != std::string::npos) found.push_back(int(i + 1));
  return found;
}

Sources ReadContinueSites(const std::string& root, const std::set<std::string>& skip) {
  static const std::regex fileIndex(R"re(^#define GAME_SOURCE_FILE (\d+))re");
  static const std::regex opening(R"re(^(?:static )?(?:double|void) (\w+)\([^)]*\) \{)re");
  static const std::regex location(R"re(Part(One|Two)Loc(\d+))re");
  static const std::regex flagUse(R"re(At\(obj, (\d+)\)(?:\s*(==|!=|>=|<=|>|<)\s*(\d+))?)re");
  static const std::regex textKey(R"re(Text\("([^"]+)"\))re");
  static const std::regex printed(R"re(PrintTxt\("([^"]+)\")re");
  static const std::regex call(R"re(\b(\w+)\()re");
  static const std::regex assignment(R"re(^\s*STMT; At\(obj, (\d+)\) = (\d+);\s*$)re");

  Sources out;
  for (const char* folder : {"game/part_one", "game/part_two"}) {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(fs::path(root) / folder))
      if (e.path().extension() == ".cpp") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    if (files.empty()) out.error = std::string("no sources in ") + root + "/" + folder;
    for (const fs::path& path : files) {
      const std::vector<std::string> lines = ReadLines(path.string());
      int file = -1;
      std::vector<Function> functions;
      for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch m;
        if (std::regex_search(lines[i], m, fileIndex)) file = std::stoi(m[1]);
        if (std::regex_search(lines[i], m, opening)) functions.push_back({m[1], int(i + 1), 0});
        if (lines[i] == "}" && !functions.empty() && functions.back().last == 0)
          functions.back().last = int(i + 1);
      }
      auto body = [&](const Function& f) {
        return std::vector<std::string>(lines.begin() + (f.first - 1), lines.begin() + f.last);
      };
      // Runs of flag assignments, one a line.
      FlagLinks& links = out.together[folder == std::string("game/part_one") ? 1 : 2];
      std::vector<std::pair<int, int>> run;
      for (size_t i = 0; i <= lines.size(); ++i) {
        std::smatch m;
        if (i < lines.size() && std::regex_match(lines[i], m, assignment)) {
          run.push_back({std::stoi(m[1]), std::stoi(m[2])});
          continue;
        }
        for (const auto& a : run)
          for (const auto& b : run)
            if (a.first != b.first) links[a][b.first] = b.second;
        run.clear();
      }
      std::map<std::string, const Function*> byName;
      for (const Function& f : functions) byName[f.name] = &f;

      // Each location procedure with the helpers of this file it calls.
      std::map<std::pair<std::string, int>, int> siteIndex;  // (file, line) -> site
      for (const Function& f : functions) {
        std::smatch m;
        if (!std::regex_match(f.name, m, location) || skip.count(f.name)) continue;
        LocationSource loc;
        loc.part = m[1] == "One" ? 1 : 2;
        loc.loc = std::stoi(m[2]);
        loc.file = file;
        std::set<std::string> reached;
        std::function<void(const Function&)> visit = [&](const Function& g) {
          if (!reached.insert(g.name).second) return;
          const std::vector<std::string> text = body(g);
          std::string key, literal;
          for (size_t k = 0; k < text.size(); ++k) {
            const std::string& s = text[k];
            std::smatch t;
            if (std::regex_search(s, t, textKey)) key = t[1], literal.clear();
            if (std::regex_search(s, t, printed) && s.find("WrapText") == std::string::npos)
              literal = t[1];
            for (auto it = std::sregex_iterator(s.begin(), s.end(), flagUse); it != std::sregex_iterator();
                 ++it) {
              std::set<int>& values = loc.flags[std::stoi((*it)[1])];
              values.insert(1);
              if ((*it)[3].matched) {
                const int v = std::stoi((*it)[3]);
                values.insert(v);
                if ((*it)[2] == ">") values.insert(v + 1);
              }
            }
            if (s.find("WriteSaveMarker") != std::string::npos) loc.writesSaveMarker = true;
            if (s.find("WaitContinue();") != std::string::npos) {
              const int line = g.first + int(k);
              auto [at, added] = siteIndex.emplace(std::make_pair(path.string(), line), int(out.sites.size()));
              if (added) {
                ContinueSite site{file, line, loc.part, loc.loc, path.filename().string(),
                                  PageName(loc.part, loc.loc, key, literal)};
                out.sites.push_back(site);
              }
              loc.sites.push_back(at->second);
              key.clear();
              literal.clear();
            }
            for (auto it = std::sregex_iterator(s.begin(), s.end(), call); it != std::sregex_iterator(); ++it) {
              auto helper = byName.find((*it)[1]);
              if (helper != byName.end() && !std::regex_match(helper->first, location)) visit(*helper->second);
            }
          }
        };
        visit(f);
        if (file < 0) out.error = path.string() + ": no GAME_SOURCE_FILE";
        if (!loc.sites.empty()) out.locations.push_back(loc);
      }
      // Continue pages that no location procedure reaches.
      for (const Function& f : functions) {
        if (skip.count(f.name)) continue;
        for (int line = f.first; line <= f.last; ++line)
          if (lines[size_t(line - 1)].find("WaitContinue();") != std::string::npos &&
              !siteIndex.count({path.string(), line}))
            out.unplaced.push_back(path.filename().string() + ":" + std::to_string(line));
      }
    }
  }
  // Names stay apart where two pages show the same text.
  std::map<std::string, int> seen;
  for (ContinueSite& s : out.sites)
    if (int n = ++seen[s.name]; n > 1) s.name += " " + std::to_string(n);
  return out;
}

}  // namespace contrast
