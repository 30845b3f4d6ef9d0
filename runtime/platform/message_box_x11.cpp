#include "platform/message_box.h"

#include <X11/Xlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <vector>

namespace platform {

namespace {

// The font set SDL's X11 message box asks the server for: 12 point, medium,
// roman, of any family and character set.
constexpr char kBoxFont[] = "-*-*-medium-r-normal--*-120-*-*-*-*-*-*";
// The smallest screen the box must fit on.
constexpr int kScreenWidth = 640;
// Room for the window manager's frame around the box.
constexpr int kFrameAllowance = 40;
// Line length when the font cannot be measured.
constexpr int kFallbackColumns = 60;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int CharacterCount(std::string_view s) {
  int n = 0;
  for (char c : s) n += !IsContinuationByte(c);
  return n;
}

// Length of the leading part of a word that is cut off to stand on a line
// of its own: whole characters, no wider than maxWidth; after the last '/'
// in there when that keeps at least half of it; at least one character.
size_t CutPoint(std::string_view word, int maxWidth, const TextWidth& width) {
  size_t fit = 0, slash = 0;
  for (size_t i = 1; i <= word.size(); ++i) {
    if (i < word.size() && IsContinuationByte(word[i])) continue;
    if (width(word.substr(0, i)) > maxWidth) break;
    fit = i;
    if (word[i - 1] == '/') slash = i;
  }
  if (fit == 0) {
    while (fit < word.size() && (fit == 0 || IsContinuationByte(word[fit]))) ++fit;
    return fit;
  }
  return slash * 2 >= fit ? slash : fit;
}

void BreakParagraph(std::string_view text, int maxWidth, const TextWidth& width,
                    std::vector<std::string>& lines) {
  std::string line;
  size_t at = 0;
  while (at < text.size()) {
    size_t wordStart = text.find_first_not_of(' ', at);
    if (wordStart == std::string_view::npos) break;
    size_t wordEnd = text.find(' ', wordStart);
    if (wordEnd == std::string_view::npos) wordEnd = text.size();
    std::string_view gap = text.substr(at, wordStart - at);
    std::string_view word = text.substr(wordStart, wordEnd - wordStart);
    at = wordEnd;
    if (!line.empty()) {
      std::string joined = line;
      joined.append(gap).append(word);
      if (width(joined) <= maxWidth) {
        line = std::move(joined);
        continue;
      }
      lines.push_back(std::move(line));
      line.clear();
    }
    while (width(word) > maxWidth) {
      size_t cut = CutPoint(word, maxWidth, width);
      lines.emplace_back(word.substr(0, cut));
      word.remove_prefix(cut);
    }
    line.assign(word);
  }
  lines.push_back(std::move(line));
}

// Lays the text out with the box's own font, in a child process as the box
// itself is drawn: the font set follows the user's locale, which this
// process must not switch to. False when the font cannot be had.
bool MeasuredLines(std::string_view text, std::string& lines) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (child == 0) {
    close(fds[0]);
    setlocale(LC_ALL, "");
    Display* display = XOpenDisplay(nullptr);
    if (!display) _exit(1);
    char** missing = nullptr;
    int missingCount = 0;
    char* fallback = nullptr;
    XFontSet font = XCreateFontSet(display, kBoxFont, &missing, &missingCount, &fallback);
    if (missing) XFreeStringList(missing);
    if (!font) _exit(1);
    // The box leaves a line's height (plus 2) beside its text on each side.
    const int lineHeight = XExtentsOfFontSet(font)->max_logical_extent.height + 2;
    const int maxWidth = kScreenWidth - 2 * lineHeight - kFrameAllowance;
    const std::string out = BreakMessageLines(text, maxWidth, [font](std::string_view s) {
      XRectangle ink, logical;
      Xutf8TextExtents(font, s.data(), int(s.size()), &ink, &logical);
      return int(logical.width);
    });
    size_t done = 0;
    while (done < out.size()) {
      const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
      if (n <= 0) _exit(1);
      done += size_t(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string out;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fds[0], buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, size_t(n));
    } else if (n == 0 || errno != EINTR) {
      break;
    }
  }
  close(fds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  lines = std::move(out);
  return true;
}

}  // namespace

std::string BreakMessageLines(std::string_view text, int maxWidth, const TextWidth& width) {
  std::vector<std::string> lines;
  for (size_t at = 0;;) {
    size_t end = text.find('\n', at);
    BreakParagraph(text.substr(at, end == std::string_view::npos ? end : end - at), maxWidth,
                   width, lines);
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  std::string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) out += '\n';
    out += lines[i];
  }
  return out;
}

std::string MessageBoxLines(std::string_view text) {
  std::string lines;
  if (std::getenv("DISPLAY") && MeasuredLines(text, lines)) return lines;
  return BreakMessageLines(text, kFallbackColumns, CharacterCount);
}

}  // namespace platform
