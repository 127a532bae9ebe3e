// TWave: plays a wave sound from a file or from the program's resources.
#pragma once

#include <QObject>

#include <string>

enum TWhereWave { wwInFile, wwInExe };
enum TWaveOption { woSync = 1, woNoDefault = 2, woLoop = 4, woNoStop = 8 };
using TWaveOptions = unsigned;

class TWave : public QObject {
public:
    explicit TWave(QObject* owner = nullptr);

    TWhereWave WhereWave() const { return whereWave_; }
    void SetWhereWave(TWhereWave value) { whereWave_ = value; }
    // A file path (wwInFile) or a resource name (wwInExe).
    const std::string& WaveName() const { return waveName_; }
    void SetWaveName(const std::string& value) { waveName_ = value; }
    // The resources of type ResourceType are the files under ":/<ResourceType>/".
    const std::string& ResourceType() const { return resourceType_; }
    void SetResourceType(const std::string& value) { resourceType_ = value; }
    TWaveOptions Options() const { return options_; }
    void SetOptions(TWaveOptions value) { options_ = value; }

    // Plays the sound: with woSync returns when it has ended, else at once;
    // woLoop repeats an asynchronous sound until the next one; with woNoStop a
    // sound still playing is left alone and nothing new starts. False when
    // nothing was played: no device, an empty name, a missing or malformed
    // sound (a missing resource is also reported in a message box).
    bool Play();

private:
    bool Load(QByteArray& wav) const;

    TWhereWave whereWave_ = wwInFile;
    std::string waveName_;
    std::string resourceType_ = "WAVE";
    TWaveOptions options_ = woSync | woNoDefault | woNoStop;
};
