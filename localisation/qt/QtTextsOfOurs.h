// Texts that Qt's own windows and the platform layer's message boxes show
// through Qt's translation, but that Qt's catalogue of a language lacks (the
// print dialog's double-sided printing, in Dutch) or never had (the titles
// of the program's message boxes). They are filed as run-time texts, so the
// language files word them, and a translator of ours answers them from the
// current language where Qt's catalogue stays silent.
#pragma once

#include <QTranslator>

class TQtTextsOfOurs : public QTranslator {
public:
    using QTranslator::QTranslator;

    // The current language's wording of a text of the list, in any context,
    // or of a wording of ours (platform/Wording.h) in vx::WordingContext;
    // empty for every other text and while the language has none.
    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override;
    bool isEmpty() const override { return false; }
};
