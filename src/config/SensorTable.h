#pragma once
// The built-in sensor table and the lookups every mouse-related part of the program uses:
// resolution lists, device codes, default levels, the sensor descriptions and the current
// sensor.
#include <cstdint>

#include "config/MouseDesc.h"

// Ids of the built-in table, in table order.
extern const int32_t g_SensorIds[SENSOR_NUM];
// Colours of levels 1 to 10 when a sensor section gives none (the last four are black).
extern const uint32_t g_DefaultDpiColors[DPI_LEVEL_MAX];

// Resets the sensor table of ms to the built-in values.
void BuildSensorTable(MouseDesc& ms);

// The sensor id for the 6-bit type code the mouse reports; 0 for codes without a sensor.
// Every translation is logged.
int32_t GetSenosr(int nValue);

// The built-in default levels of a sensor (DPI_LEVEL_MAX values, unused levels 0), or
// nullptr for sensors that have none.
const int32_t* DefaultDpiLevels(int32_t nSensor);

// The sensor's entry of the table, or nullptr.
const SensorEntry* FindSensorEntry(const MouseDesc& ms, int32_t nSensor);
SensorEntry* FindSensorEntry(MouseDesc& ms, int32_t nSensor);

// The first sensor description for the id, or nullptr (also for id 0, which means "no
// description" in a record).
const SensorCfg* FindSensorCfg(const MouseDesc& ms, int32_t nSensor);
int FindSensorCfgIndex(const MouseDesc& ms, int32_t nSensor);

// The sensor's resolution values; false for 0 or an id not in the table.
bool GetSensorDpiList(const MouseDesc& ms, int32_t nSensor, const int32_t*& pDpi, int& nCount);
// The resolution at a 0-based position; 0 for an unknown id or a position past the list.
int32_t GetSensorDpiAt(const MouseDesc& ms, int32_t nSensor, int nPos);
// The device code of a resolution value (first equal value); 0 when unknown.
int GetSensorDpiCode(const MouseDesc& ms, int32_t nSensor, int32_t nDpi);
// Whether the value is one of the sensor's resolutions.
bool SensorHasDpi(const MouseDesc& ms, int32_t nSensor, int32_t nDpi);

// Makes the id current and points the current description at the first record with that
// sensor; without one the description is null and an error box says so.
void set_cur_sensor(MouseDesc& ms, int32_t nSensor);
