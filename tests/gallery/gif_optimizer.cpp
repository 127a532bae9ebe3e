// Developer program: the image optimiser window after a test run over a folder
// of made-up animations, rendered offscreen to a PNG. Arguments: the PNG to
// write (default "gif_optimizer.png") and a folder to use instead.
#include "images/GIFGraphicControl.h"
#include "images/GIFImage.h"
#include "images/qt/GifOptimizerForm.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

void MakeAnimation(const std::string& path, int width, int height, int frames)
{
    TGIFImage image;
    for (int i = 0; i < 64; ++i)
        image.Header().ColorMap().Add(TGIFColor{static_cast<std::uint8_t>(i * 4), static_cast<std::uint8_t>(200 - i * 3),
                                                static_cast<std::uint8_t>(i * 2)});
    for (int f = 0; f < frames; ++f) {
        TGIFSubImage& frame = image.Add(std::make_unique<TGIFSubImage>(&image));
        frame.SetBounds(0, 0, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                frame.ScanLine(y)[x] = static_cast<std::uint8_t>((x / 8 + y / 8) % 32);
        for (int y = f * 3; y < f * 3 + 10 && y < height; ++y)
            for (int x = f * 5; x < f * 5 + 12 && x < width; ++x)
                frame.ScanLine(y)[x] = 63;
        auto control = std::make_unique<TGIFGraphicControlExtension>(frame);
        control->SetDelay(10);
        frame.Extensions().Add(std::move(control));
    }
    image.SaveToFile(path);
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const char* out = argc > 1 ? argv[1] : "gif_optimizer.png";
    QTemporaryDir dir;
    std::string folder = argc > 2 ? argv[2] : dir.path().toStdString();
    if (argc <= 2) {
        MakeAnimation(folder + "/banner.gif", 468, 60, 12);
        MakeAnimation(folder + "/button.gif", 88, 31, 6);
        MakeAnimation(folder + "/logo.gif", 120, 90, 1);
    }
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    Tfrm_gifoptimizer form;
    form.resize(720, 420);
    form.show();
    QListWidget* files = form.findChild<QListWidget*>("FileListBox1");
    if (files->count() > 0)
        emit files->itemClicked(files->item(0));
    form.findChild<QPushButton*>("buttontest")->click();
    app.processEvents();
    std::filesystem::current_path(previous);
    if (!form.grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", out);
        return 1;
    }
    std::printf("%s: saved %lld bytes\n", out, static_cast<long long>(form.TotalSaved()));
    return 0;
}
