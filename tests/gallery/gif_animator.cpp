// Developer program: the GIF animator window with an animation loaded, rendered
// offscreen to a PNG. Arguments: the PNG to write (default "gif_animator.png")
// and a GIF to load (default: a made-up three-frame animation).
#include "images/RxGIF.h"
#include "platform/qt/Dialogs.h"
#include "images/qt/AnimatorForm.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>

namespace {

std::string MadeUpAnimation(const QTemporaryDir& dir)
{
    RxGIF::TGIFImage image;
    const TGIFColor colours[] = {{200, 40, 40}, {40, 160, 60}, {50, 80, 200}};
    for (int i = 0; i < 3; ++i) {
        TGIFBitmap bitmap(64, 48, TPixelFormat::pf8bit);
        bitmap.Palette = {TGIFColor{255, 255, 255}, colours[i]};
        for (int y = 8 + i * 6; y < 30 + i * 6; ++y)
            for (int x = 10 + i * 12; x < 30 + i * 12; ++x)
                bitmap.ScanLine(y)[x] = 1;
        image.AddFrame(bitmap);
        image.Frame(i).SetDelay(200);
    }
    image.SetLooping(true);
    image.SetRepeatCount(0);
    const std::string path = QDir(dir.path()).filePath("made-up.gif").toStdString();
    image.SaveToFile(path);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const char* out = argc > 1 ? argv[1] : "gif_animator.png";
    QTemporaryDir dir;
    const std::string gif = argc > 2 ? argv[2] : MadeUpAnimation(dir);

    TAnimatorForm form;
    form.resize(640, 520);
    form.show();
    vx::dialogs::SetAnswerer([&](const vx::dialogs::Request&) {
        vx::dialogs::Answer answer;
        answer.result = mrOk;
        answer.path = gif;
        return answer;
    });
    form.findChild<QToolButton*>("OpenBtn")->click();
    vx::dialogs::SetAnswerer({});
    app.processEvents();
    if (!form.grab().save(out)) {
        std::fprintf(stderr, "cannot write %s\n", out);
        return 1;
    }
    std::printf("%s: %d frames\n", out, form.Image().Count());
    return 0;
}
