// The wave player: finds the sound, checks it and hands it to the sound output.
#include "controls/sound/WWave32.h"

#include "controls/sound/WaveOutput.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QFile>

namespace {

const TRunTimeText WaveNotFound{"WAVE resource not found!"};
const TRunTimeText ErrorTitle{"Error"};

// The image of at most this many bytes is read; longer files are not sounds we play.
constexpr qint64 MaxWaveBytes = 64 * 1024 * 1024;

bool ReadBounded(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxWaveBytes)
        return false;
    bytes = file.readAll();
    return true;
}

} // namespace

TWave::TWave(QObject* owner) : QObject(owner) {}

bool TWave::Load(QByteArray& wav) const
{
    if (whereWave_ == wwInFile)
        return ReadBounded(vx::ToQString(waveName_), wav);
    // Resource names are matched as given, then in capitals as resource compilers store them.
    const QString folder = ":/" + vx::ToQString(resourceType_) + "/";
    const QString name = vx::ToQString(waveName_);
    if (ReadBounded(folder + name, wav) || ReadBounded(folder + name.toUpper(), wav))
        return true;
    MessageBox(WaveNotFound(), ErrorTitle(), MB_OK | MB_ICONSTOP);
    return false;
}

bool TWave::Play()
{
    vx::TWaveOutput& output = vx::WaveOutput();
    if (!output.HasDevice() || waveName_.empty())
        return false;
    QByteArray wav;
    vx::TWaveFormat format;
    if (!Load(wav) || !vx::ParseWave(wav, format))
        return false;
    if ((options_ & woNoStop) && output.Playing())
        return false;
    const bool sync = options_ & woSync;
    if (!output.Start(wav, format, (options_ & woLoop) && !sync))
        return false;
    if (sync)
        output.WaitFinished();
    return true;
}
