// Turns the user guide (Markdown) into the PDF the application opens from
// its help menu: orvane-markdown-to-pdf GUIDE.md GUIDE.pdf. Run at build
// time; needs no display.

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s GUIDE.md GUIDE.pdf\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("th, td { padding: 3px 6px; }"));
    document.setMarkdown(QString::fromUtf8(in.readAll()));

    const QString out = QString::fromLocal8Bit(argv[2]);
    QPdfWriter writer(out + QStringLiteral(".part"));
    writer.setTitle(QStringLiteral("Orvane 使用指南"));
    writer.setCreator(QStringLiteral("Orvane"));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
    writer.setResolution(300);
    document.print(&writer);
    // Written beside and renamed: a failed run never leaves half a guide.
    QFile::remove(out);
    if (!QFile::rename(out + QStringLiteral(".part"), out)) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
