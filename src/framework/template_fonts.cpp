#include "framework/template_fonts.h"

#include <QFont>
#include <QStringList>

namespace valdrix::gui {

namespace {

// The Latin face comes first: the Latin letters of the Ming faces make "l" and "1" look alike.
const QStringList& Substitutes() {
    static const QStringList faces = {
        QStringLiteral("Liberation Sans"),   QStringLiteral("DejaVu Sans"),
        QStringLiteral("AR PL UMing CN"),    QStringLiteral("AR PL UMing TW"),
        QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC"),
    };
    return faces;
}

}  // namespace

void RegisterFontSubstitutes() {
    for (const char* face : {"宋体", "@宋体"}) {
        QFont::insertSubstitutions(QString::fromUtf8(face), Substitutes());
    }
}

QFont TemplateFont(const std::string& face, double pointSize) {
    const QString family = QString::fromStdString(face);
    QFont font;
    // The face when the machine has it, else the substitutes in their order. Listing them lets
    // the font machinery choose when the text is laid out, without enumerating every family.
    font.setFamilies(QStringList{family} + Substitutes());
    font.setPointSizeF(pointSize);
    return font;
}

}  // namespace valdrix::gui
