// The RIFF wave check and the system sound output, which pipes the image to
// ALSA's "aplay" so no media framework is linked.
#include "controls/sound/WaveOutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

#include <cstdint>
#include <cstring>

namespace vx {

namespace {

std::uint32_t Le32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
}

std::uint16_t Le16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

bool ReadFmt(const char* p, std::uint32_t size, TWaveFormat& format)
{
    if (size < 16)
        return false;
    const std::uint16_t tag = Le16(p);
    constexpr std::uint16_t pcm = 1, ieeeFloat = 3, extensible = 0xFFFE;
    if (tag != pcm && tag != ieeeFloat && tag != extensible)
        return false;
    format.channels = Le16(p + 2);
    format.sampleRate = static_cast<int>(Le32(p + 4));
    format.bitsPerSample = Le16(p + 14);
    const int bits = format.bitsPerSample;
    return format.channels >= 1 && format.channels <= 8 && format.sampleRate > 0
        && format.sampleRate <= 384000 && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
}

// Plays through one "aplay" child at a time; the image goes in on its input.
class TAplayOutput final : public TWaveOutput {
public:
    bool HasDevice() const override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("aplay")).isEmpty())
            return false;
        QFile cards(QStringLiteral("/proc/asound/pcm"));
        if (cards.open(QIODevice::ReadOnly) && !cards.readAll().trimmed().isEmpty())
            return true;
        // A sound server routes ALSA's default device without local cards.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        return !runtime.isEmpty()
            && (QFile::exists(runtime + "/pulse/native") || QFile::exists(runtime + "/pipewire-0"));
    }

    bool Playing() const override { return process_ && process_->state() != QProcess::NotRunning; }

    bool Start(const QByteArray& wav, const TWaveFormat& format, bool loop) override
    {
        Stop();
        wav_ = wav;
        durationMs_ = format.DurationMs();
        loop_ = loop;
        return Launch();
    }

    void WaitFinished() override
    {
        loop_ = false;
        if (Playing() && !process_->waitForFinished(static_cast<int>(durationMs_ + 5000)))
            Stop();
    }

    void Stop() override
    {
        loop_ = false;
        if (!process_)
            return;
        process_->disconnect();
        process_->kill();
        process_->waitForFinished(1000);
        process_->deleteLater();
        process_ = nullptr;
    }

    ~TAplayOutput() override { Stop(); }

private:
    bool Launch()
    {
        process_ = new QProcess(QCoreApplication::instance());
        process_->setStandardOutputFile(QProcess::nullDevice());
        process_->setStandardErrorFile(QProcess::nullDevice());
        QObject::connect(process_, &QProcess::finished, process_, [this](int code, QProcess::ExitStatus status) {
            const bool again = loop_ && code == 0 && status == QProcess::NormalExit;
            process_->deleteLater();
            process_ = nullptr;
            if (again)
                Launch();
        });
        process_->start(QStringLiteral("aplay"), {QStringLiteral("-q"), QStringLiteral("-")});
        if (!process_->waitForStarted(2000)) {
            Stop();
            return false;
        }
        process_->write(wav_);
        process_->closeWriteChannel();
        return true;
    }

    QPointer<QProcess> process_;
    QByteArray wav_;
    long long durationMs_ = 0;
    bool loop_ = false;
};

std::unique_ptr<TWaveOutput>& Current()
{
    static std::unique_ptr<TWaveOutput> output;
    return output;
}

} // namespace

long long TWaveFormat::DurationMs() const
{
    const long long bytesPerSecond = static_cast<long long>(sampleRate) * channels * (bitsPerSample / 8);
    return bytesPerSecond > 0 ? dataBytes * 1000 / bytesPerSecond : 0;
}

bool ParseWave(const QByteArray& wav, TWaveFormat& format)
{
    format = TWaveFormat();
    const char* p = wav.constData();
    const long long size = wav.size();
    if (size < 12 || std::memcmp(p, "RIFF", 4) != 0 || std::memcmp(p + 8, "WAVE", 4) != 0)
        return false;
    bool haveFmt = false, haveData = false;
    long long at = 12;
    while (at + 8 <= size) {
        const std::uint32_t chunk = Le32(p + at + 4);
        const long long body = at + 8;
        if (chunk > size - body)
            return false;
        if (std::memcmp(p + at, "fmt ", 4) == 0) {
            if (!ReadFmt(p + body, chunk, format))
                return false;
            haveFmt = true;
        } else if (std::memcmp(p + at, "data", 4) == 0) {
            format.dataBytes = chunk;
            haveData = true;
        }
        at = body + chunk + (chunk & 1);
    }
    return haveFmt && haveData;
}

TWaveOutput& WaveOutput()
{
    auto& output = Current();
    if (!output)
        output = std::make_unique<TAplayOutput>();
    return *output;
}

void SetWaveOutput(std::unique_ptr<TWaveOutput> output)
{
    auto& current = Current();
    if (current)
        current->Stop();
    current = std::move(output);
}

} // namespace vx
