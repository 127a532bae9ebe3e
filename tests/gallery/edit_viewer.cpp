// Developer program: opens a file in one editor control with the HTML
// highlighter and line numbers. "edit_viewer FILE" shows it in a window to
// look at and drive by hand; "edit_viewer FILE --shot OUT.png" renders it
// offscreen with a selection and a bookmark, writes OUT.png and quits.
#include "editor/qt/mwCustomEdit.h"
#include "highlighters/hkHTMLSyn.h"
#include "platform/FileIO.h"

#include <QApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

int main(int argc, char** argv)
{
    const bool shot = argc > 3 && std::strcmp(argv[2], "--shot") == 0;
    if (argc < 2 || (argc > 2 && !shot)) {
        std::fprintf(stderr, "usage: %s FILE [--shot OUT.png]\n", argv[0]);
        return 2;
    }
    if (shot && !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);

    std::string text;
    try {
        text = vx::ReadWholeFile(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    ThkHTMLSyn html;
    TmwCustomEdit edit;
    edit.setWindowTitle(QString::fromLocal8Bit(argv[1]));
    edit.resize(720, 480);
    TmwCustomEditModel& m = edit.Model();
    m.Gutter().SetShowLineNumbers(true);
    m.Gutter().SetAutoSize(true);
    m.SetHighLighter(&html);
    m.SetText(text);
    edit.show();
    edit.activateWindow();
    edit.setFocus();
    if (!shot)
        return app.exec();

    m.SetBookMark(1, 1, 3);
    m.SetBlockBegin(Point(3, 17));
    m.SetBlockEnd(Point(30, 18));
    m.SetCaretXY(Point(30, 18));
    app.processEvents();
    QImage image = edit.grab().toImage();
    if (!image.save(argv[3], "PNG")) {
        std::fprintf(stderr, "Cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("%s\n", argv[3]);
    return 0;
}
