// Life of the input record: construction, opening the devices, shutdown.
#include "input_audio/input_state.h"

#include <cstring>
#include <string>

#include "core/project_settings.h"
#include "core/runtime_error.h"
#include "platform/window.h"

InputState* gInput = nullptr;

namespace {

void (*sScreenSizeQuery)(int32_t*, int32_t*) = nullptr;

void OpenJoysticks(InputState* input) {
  // A repeated start drops the effects of the devices opened before.
  platform::HapticBackend* haptics = platform::Haptics();
  for (int i = 0; i < kMaxJoysticks; ++i) {
    if (input->effects[i] >= 0) haptics->Destroy(i, input->effects[i]);
    input->effects[i] = -1;
    input->joysticks[i] = 0;
  }
  platform::JoystickBackend* sticks = platform::Joysticks();
  int count = sticks->Open(kMaxJoysticks);
  if (count < 0) count = 0;
  if (count > kMaxJoysticks) count = kMaxJoysticks;
  for (int i = 0; i < count; ++i) {
    std::string name = sticks->InstanceName(i) + ", " + sticks->ProductName(i);
    std::strncpy(input->joystickNames[i], name.c_str(), kJoystickNameSize - 1);
    input->joystickNames[i][kJoystickNameSize - 1] = '\0';
    input->joysticks[i] = 1;
  }
  input->joystickCount = count;
}

}  // namespace

void InputStateConstruct(InputState* input) {
  std::memset(input, 0, sizeof *input);
  input->mouseX = 100;
  input->mouseY = 100;
  input->reread = 1;
  input->mouseCoopLevel = kMouseCaptured;
  for (int32_t& e : input->effects) e = -1;
  SetShutdownStep(kShutdownInput, ReleaseInput);
}

InputState* NewInputState() {
  if (gInput == nullptr) {
    gInput = new InputState;
    InputStateConstruct(gInput);
  }
  return gInput;
}

int32_t InputInit(InputState* input, platform::Window* window, void* /*instance*/,
                  bool hidePointer) {
  int32_t result = kInputOk;
  input->window = window;
  std::memset(input->keys, 0, sizeof input->keys);
  std::memset(input->joystickNames, 0, sizeof input->joystickNames);

  if (!platform::InputOpen()) {
    AppendErrorLog("No DX_Input");
    result = kInputNoDevices;
  } else {
    input->inputOpen = 1;
    input->keyboard = 1;
    platform::MousePosition(&input->mouseX, &input->mouseY);

    input->pointerShown = 0;
    if (hidePointer) {
      input->mouseCoopLevel = kMouseCaptured;
      platform::ConfinePointer(window, true);
      if (!platform::SetPointerShown(false)) {
        AppendErrorLog("No DX_Mouse");
        result = kInputNoMouse;
      }
    } else {
      input->pointerShown = 1;
      if (input->mouse != 0) {
        ShowPointerStep(input);  // a repeated call: bring the pointer back in place
      } else {
        input->mouseCoopLevel = kMouseShared;
        platform::SetPointerShown(true);
      }
    }
    input->mouse = 1;
  }

  OpenJoysticks(input);
  return result;
}

void InputShutdown(InputState* input) {
  if (input->pointerShown != 1) {
    input->pointerShown = 1;
    if (input->mouse != 0) ShowPointerStep(input);
  }
  platform::HapticBackend* haptics = platform::Haptics();
  for (int i = 0; i < kMaxJoysticks; ++i) {
    if (input->effects[i] >= 0) haptics->Destroy(i, input->effects[i]);
    input->effects[i] = -1;
  }
  haptics->Close();
  platform::Joysticks()->Close();
  for (uint8_t& j : input->joysticks) j = 0;
  input->joystickCount = 0;
  if (input->inputOpen != 0) platform::InputClose();
  input->inputOpen = 0;
  input->keyboard = 0;
  input->mouse = 0;
}

void ReleaseInput() {
  if (gInput == nullptr) return;
  InputShutdown(gInput);
  delete gInput;
  gInput = nullptr;
}

void SetInputScreenSizeQuery(void (*query)(int32_t*, int32_t*)) { sScreenSizeQuery = query; }

void InputScreenSize(int32_t* width, int32_t* height) {
  if (sScreenSizeQuery != nullptr) {
    sScreenSizeQuery(width, height);
    return;
  }
  *width = static_cast<int32_t>(gProjectSettings.screenWidth);
  *height = static_cast<int32_t>(gProjectSettings.screenHeight);
  if (*width <= 0) *width = 640;
  if (*height <= 0) *height = 480;
}
