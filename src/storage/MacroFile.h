#pragma once
// Macro records in their file form: decoding with validation, the new record, and the
// file operations every macro write goes through. All writes replace files atomically.
#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/MacroRecord.h"

// How a file is decoded. Plain records are taken only from the macro folders; imports and
// presets always decipher.
enum class EMacroForm { PlainAllowed, Enciphered };

// Decodes 1480 bytes (plain, legacy rotation or TEA). True when the result has the macro
// magic; the mouse codes are not checked here.
bool DecodeMacroBytes(const uint8_t* pData, size_t nLen, EMacroForm form, StMacro& out);
// The file form of a record: enciphered block by block.
void EncodeMacroBytes(const StMacro& rec, uint8_t out[MACRO_FILE_SIZE]);
// False when an event before the first code 0 uses a mouse code 240..246 whose bit in the
// MacroHasMsKey mask (bit 0 for 240 .. bit 6 for 246) is clear.
bool MacroMouseCodesAllowed(const StMacro& rec, int nMacroHasMsKey);

enum class EMacroRead { Ok, OpenFailed, ReadFailed, NotMacro, Unsupported };
// Reads and decodes a file; nErr receives the system error of an open or read failure.
EMacroRead ReadMacroFile(const std::string& strPath, EMacroForm form, int nMacroHasMsKey,
                         StMacro& out, int* pErr = nullptr);

// All zero, magic, a new id, auto delay on, loop mode 0, one loop, the name cut to 39.
void NewMacroRecord(StMacro& out, const std::string& strName);
std::string MacroName(const StMacro& rec);
void SetMacroName(StMacro& rec, const std::string& strName);

// Creates every missing folder of the directory part of the path; true when all exist.
bool MakeSureFolderExist(const std::string& strPath);
// Writes a whole file atomically; when its folder is missing, the folder chain is made and
// the write tried once more. Failures are logged.
bool MyCreateFile(const std::string& strPath, const void* pData, size_t nLen);
// Without convert: copies the file, never over an existing target. With convert: reads the
// macro, decodes it and writes it as a bullet macro.
bool MyCopyFile(const std::string& strNew, const std::string& strExisting, bool bConvert);
// Writes the record enciphered, with its dirty bits cleared in the written copy and, with
// bBullet, marked as a converted bullet macro. The caller's record is not changed.
bool save_macro_to_file_mcb(const std::string& strPath, const StMacro& rec, bool bBullet);

// A name the user typed: refused ("Invalid name.") when it holds / \ ? + = - * & % ! # or a
// control character; everything from the last '.' on is cut off; a name that is then empty
// or only dots is refused as well. True with the cut name in strName.
bool CheckMacroName(std::string& strName);
// A name taken from a file (macro name, file title) made safe as one path component inside
// the macro folders: separators and control characters become '_', leading '.' and '$'
// become '_', an empty name becomes "_".
std::string SafeNameFromFile(const std::string& strName);
// File name without folder and without the part from its last '.'.
std::string FileTitle(const std::string& strPath);
