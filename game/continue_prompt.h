// The prompt that closes a page without choices.
#pragma once

// Prints the device's continue prompt, keeps the page on screen until the
// button, touch or fire key is pressed and released, then clears the
// screen. Yields 0.
double WaitContinue();
