#include "game/picture_check.h"

#include <string>

#include "core/runtime_error.h"
#include "core/shoebox.h"
#include "frame/graphics_commands.h"
#include "platform/system.h"

void RequirePicture(double sprite, const BasicString& file) {
  double w = 0, h = 0;
  GetSpriteSizeCmd(sprite, w, h);
  if (w > 0 && h > 0) return;
  const std::string archive = platform::CurrentFolder() + "/media.gfx";
  const std::string name = StrCStr(file);
  const ShoeboxProblem kind = gShoeboxes[0] ? gShoeboxes[0]->lastProblem : kShoeboxNotFound;
  std::string text;
  if (kind == kShoeboxTempFull || kind == kShoeboxTempNotWritable) {
    text = "The game cannot unpack its data: " + ShoeboxProblemText(kind) + ", so " + archive +
           " could not supply " + name + ". " +
           (kind == kShoeboxTempFull ? "Make room there" : "Let the game write there") +
           " (or name another folder in TMPDIR) and start the game again.";
  } else {
    const std::string& why = LastPictureProblem();
    text = "The game's data is missing or damaged: " + archive + " could not supply " + name +
           (why.empty() ? std::string() : " (" + why + ")") +
           ". Reinstall the game or build it again.";
  }
  AppendErrorLog(text.c_str());
  platform::ShowMessage("Kestrovar", text.c_str());
  EndProgramWithStatus(1);
}
