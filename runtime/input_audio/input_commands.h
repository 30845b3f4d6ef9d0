// Command layer of the input: numbers as f64, text as BasicString. Key
// numbers are PC scan codes (1 Escape, 28 Enter, 57 Space, 200 Up, ...).
#pragma once

#include "core/basic_string.h"

// 1 while the key is down, else 0; reads the keyboard itself.
double KeyState(double keyCode);
// The character of a newly pressed key, or "".
BasicString InkeyCmd();
// Pointer position clamped to the screen, left and right button (1/0);
// reads the mouse itself.
void MouseState(double& x, double& y, double& button1, double& button2);
// 0 dx, 1 dy, 2 wheel, 3 left, 4 right, 5 middle button; else 0.
double MouseAxisCmd(double selector);
void SetSystemPointer(double shown);
void SetMousePosition(double x, double y);

double JoystickXCmd(double joystick);
double JoystickYCmd(double joystick);
double JoystickZCmd(double joystick);
double JoystickRxCmd(double joystick);
double JoystickRyCmd(double joystick);
double JoystickRzCmd(double joystick);
double JoystickPovXCmd(double joystick);
double JoystickPovYCmd(double joystick);
double JoystickButtonCmd(double joystick, double button);
// Joystick 0: x, y in -1, 0, 1 (beyond +-30000) and the first two buttons.
void JoystickStateCmd(double& x, double& y, double& button1, double& button2);
double JoystickCountCmd();
BasicString JoystickNameCmd(double joystick);
void ForceFeedbackCmd(double joystick, double durationMs, double x, double y);
