#pragma once
// The virtual-key code to HID keyboard usage table shared by the encoders.
#include <cstdint>

// The usage of a virtual-key code, 0 when the code has none.
uint8_t VkToHid(uint8_t byVk);
