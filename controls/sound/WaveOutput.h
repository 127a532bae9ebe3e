// The process-wide sound output the wave player hands its sounds to, and the
// check of a RIFF wave image before it is played.
#pragma once

#include <QByteArray>

#include <memory>

namespace vx {

// The facts of a RIFF wave image that playing needs.
struct TWaveFormat {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    long long dataBytes = 0;
    // Length of the sound in milliseconds.
    long long DurationMs() const;
};

// True and the format when wav is a well-formed RIFF "WAVE" image with a PCM or
// floating-point "fmt " chunk and a "data" chunk, every chunk inside the image.
bool ParseWave(const QByteArray& wav, TWaveFormat& format);

// One sound at a time, as the platform's sound player: starting a sound stops
// the one before. Called on the user-interface thread only.
class TWaveOutput {
public:
    virtual ~TWaveOutput() = default;
    // Whether a wave output device is present at all.
    virtual bool HasDevice() const = 0;
    virtual bool Playing() const = 0;
    // Starts a checked wave image; with loop it repeats until Stop or the next
    // sound. False when the sound could not be started.
    virtual bool Start(const QByteArray& wav, const TWaveFormat& format, bool loop) = 0;
    // Returns when the current sound has ended (a looping one is stopped).
    virtual void WaitFinished() = 0;
    virtual void Stop() = 0;
};

// The output sounds go to: the system's (the "aplay" program of ALSA) unless a
// replacement was set.
TWaveOutput& WaveOutput();
// Replaces the output (tests); nullptr restores the system's.
void SetWaveOutput(std::unique_ptr<TWaveOutput> output);

} // namespace vx
