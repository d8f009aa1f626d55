#pragma once
// Keyboard layouts ([OPT] KbType). Key codes are stored as the key positions of the US
// layout: a key captured on layout 1 to 3 is turned into its stored code by the capture
// conversion, and a stored code into the code whose name is shown by the display conversion
// (its inverse). Layout 0 and unknown layouts convert nothing.
#include <cstdint>

//
// Layout 1 is QWERTZ (German), layout 2 AZERTY (French), layout 3 has the punctuation keys
// of layout 1 with the letters of the US layout.

uint8_t CaptureKeyConvert(int nLayout, uint8_t byVk);
uint8_t DisplayKeyConvert(int nLayout, uint8_t byVk);

// The key code an encoder turns into a device code: with [OPT] InputMethod 1 the device
// expects the key positions of the AZERTY layout, so the layout-2 display conversion applies.
uint8_t DeviceKeyConvert(int nInputMethod, uint8_t byVk);
