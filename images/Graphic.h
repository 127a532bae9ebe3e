// The base of the pictures the image tools load and save: a stream-backed
// graphic with change and progress events, as the picture loader hands out.
#pragma once

#include <functional>
#include <string>

class TByteStream;

enum class TProgressStage { psStarting, psRunning, psEnding };

class TGraphic {
public:
    using TNotifyEvent = std::function<void(TGraphic* sender)>;
    using TProgressEvent = std::function<void(TGraphic* sender, TProgressStage stage, int percent)>;

    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // Reads from the stream's position to its end.
    virtual void LoadFromStream(TByteStream& stream) = 0;
    virtual void SaveToStream(TByteStream& stream) = 0;
    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The whole file through LoadFromStream; saving writes a temporary file and
    // renames it over the old one, so a failure leaves the old file whole.
    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path);

    // The framework's transparent flag: whether drawing honours transparency.
    bool TransparentFlag = false;
    // Set when the colours changed; whoever realises the palette clears it.
    bool PaletteModified = false;

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

protected:
    void Changed()
    {
        if (OnChange)
            OnChange(this);
    }
    void Progress(TProgressStage stage, int percent)
    {
        if (OnProgress)
            OnProgress(this, stage, percent);
    }
};
