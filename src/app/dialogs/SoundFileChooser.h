#pragma once
// How the options dialog asks for a sound file: the platform's file-open dialog for WAV
// files. Tests answer through their own chooser.
#include <optional>
#include <string>

class QWidget;

class ISoundFileChooser {
public:
    virtual ~ISoundFileChooser() = default;
    // The full path of the chosen file, or nullopt when the user cancelled.
    virtual std::optional<std::string> Choose(QWidget* pParent) = 0;
};

// QFileDialog: default extension ".wav", initial name "*.wav", the filter "wav(*.wav)".
class CQtSoundFileChooser : public ISoundFileChooser {
public:
    std::optional<std::string> Choose(QWidget* pParent) override;
};
