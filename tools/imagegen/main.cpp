// vximagegen: renders picture descriptions into PNG bytes and writes them as
// a C++ source that adds them to a resource module, or renders one of them
// as a PNG file at a chosen size (the program's icon for desktops):
//   vximagegen --cpp OUT.cpp --function NAME TYPE:ID:FILE.pic ...
//   vximagegen --png OUT.png --size PIXELS FILE.pic
//
// A description is a text file, one drawing command per line ('#' starts a
// comment line; colours are #RRGGBB or #RRGGBBAA):
//   size W H                      picture size (first)
//   fill COLOUR|transparent       the whole picture
//   rect X Y W H COLOUR           filled rectangle
//   frame X Y W H COLOUR [WIDTH]  rectangle outline
//   ellipse X Y W H COLOUR        filled ellipse
//   line X1 Y1 X2 Y2 COLOUR [WIDTH]
//   polygon COLOUR X1 Y1 X2 Y2 ... filled polygon
//   text X Y W H COLOUR PIXELS TEXT...  centred text
//   textleft X Y W H COLOUR PIXELS TEXT...  text from the left edge, centred
//                                 from top to bottom (a label beside a field)
//   hotspot X Y                   a cursor's hot spot (kept in the PNG)
//   smooth on|off                 antialiasing (off by default: exact pixels)
//   opaque                        write the PNG without an alpha channel (a
//                                 picture with alpha ignores a colour key)
#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <QTextStream>

#include <cstdio>

namespace {

bool Colour(const QString& s, QColor* out)
{
    if (s == "transparent") {
        *out = QColor(0, 0, 0, 0);
        return true;
    }
    if (!s.startsWith('#') || (s.size() != 7 && s.size() != 9))
        return false;
    bool ok = false;
    uint v = s.mid(1).toUInt(&ok, 16);
    if (!ok)
        return false;
    *out = s.size() == 7 ? QColor((v >> 16) & 255, (v >> 8) & 255, v & 255)
                         : QColor((v >> 24) & 255, (v >> 16) & 255, (v >> 8) & 255, v & 255);
    return true;
}

// Renders one description, its coordinates multiplied by `scale`; an error
// names the file and line.
bool Render(const QString& path, QByteArray* png, QString* error, double scale = 1.0)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = path + ": cannot read";
        return false;
    }
    QImage img;
    QString hotspot;
    bool smooth = false;
    bool opaque = false;
    QTextStream in(&f);
    int lineNo = 0;
    while (!in.atEnd()) {
        QString line = in.readLine().trimmed();
        ++lineNo;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QStringList a = line.split(' ', Qt::SkipEmptyParts);
        auto fail = [&](const char* what) {
            *error = QString("%1:%2: %3").arg(path).arg(lineNo).arg(what);
            return false;
        };
        auto num = [&](int i, int* v) {
            bool ok = false;
            *v = i < a.size() ? a[i].toInt(&ok) : 0;
            return ok;
        };
        const QString cmd = a[0];
        if (cmd == "size") {
            int w, h;
            if (!num(1, &w) || !num(2, &h) || w <= 0 || h <= 0 || w > 4096 || h > 4096)
                return fail("bad size");
            img = QImage(qRound(w * scale), qRound(h * scale), QImage::Format_ARGB32);
            img.fill(Qt::transparent);
            continue;
        }
        if (img.isNull())
            return fail("size must come first");
        if (cmd == "hotspot") {
            int x, y;
            if (!num(1, &x) || !num(2, &y))
                return fail("bad hotspot");
            hotspot = QString("%1,%2").arg(x).arg(y);
            continue;
        }
        if (cmd == "opaque") {
            opaque = true;
            continue;
        }
        if (cmd == "smooth") {
            smooth = a.size() > 1 && a[1] == "on";
            continue;
        }
        QPainter p(&img);
        p.scale(scale, scale);
        p.setRenderHint(QPainter::Antialiasing, smooth);
        p.setRenderHint(QPainter::TextAntialiasing, smooth);
        QColor c;
        int x, y, w, h;
        if (cmd == "fill") {
            if (a.size() < 2 || !Colour(a[1], &c))
                return fail("bad colour");
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.fillRect(img.rect(), c);
        } else if (cmd == "rect" || cmd == "ellipse" || cmd == "frame") {
            if (!num(1, &x) || !num(2, &y) || !num(3, &w) || !num(4, &h) || a.size() < 6 || !Colour(a[5], &c))
                return fail("expected X Y W H COLOUR");
            p.setCompositionMode(QPainter::CompositionMode_Source);
            if (cmd == "rect") {
                p.fillRect(QRect(x, y, w, h), c);
            } else if (cmd == "ellipse") {
                p.setPen(Qt::NoPen);
                p.setBrush(c);
                p.drawEllipse(QRect(x, y, w, h));
            } else {
                int pw = 1;
                if (a.size() > 6 && !num(6, &pw))
                    return fail("bad width");
                for (int i = 0; i < pw; ++i) {
                    QRect r(x + i, y + i, w - 2 * i, h - 2 * i);
                    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
                    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
                    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
                    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
                }
            }
        } else if (cmd == "line") {
            int x2, y2, pw = 1;
            if (!num(1, &x) || !num(2, &y) || !num(3, &x2) || !num(4, &y2) || a.size() < 6 || !Colour(a[5], &c))
                return fail("expected X1 Y1 X2 Y2 COLOUR");
            if (a.size() > 6 && !num(6, &pw))
                return fail("bad width");
            p.setPen(QPen(c, pw));
            p.drawLine(x, y, x2, y2);
        } else if (cmd == "polygon") {
            if (a.size() < 8 || a.size() % 2 != 0 || !Colour(a[1], &c))
                return fail("expected COLOUR and three points or more");
            QPolygon poly;
            for (int i = 2; i + 1 < a.size(); i += 2) {
                int px, py;
                if (!num(i, &px) || !num(i + 1, &py))
                    return fail("bad point");
                poly << QPoint(px, py);
            }
            p.setPen(Qt::NoPen);
            p.setBrush(c);
            p.drawPolygon(poly);
        } else if (cmd == "text" || cmd == "textleft") {
            int px;
            if (!num(1, &x) || !num(2, &y) || !num(3, &w) || !num(4, &h) || a.size() < 8 || !Colour(a[5], &c)
                || !num(6, &px) || px <= 0)
                return fail("expected X Y W H COLOUR PIXELS TEXT");
            QFont font;
            font.setPixelSize(px);
            font.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
            p.setFont(font);
            p.setPen(c);
            p.drawText(QRect(x, y, w, h), cmd == "text" ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter,
                       a.mid(7).join(' '));
        } else {
            return fail("unknown command");
        }
    }
    if (img.isNull()) {
        *error = path + ": no size";
        return false;
    }
    if (opaque)
        img = img.convertToFormat(QImage::Format_RGB32);
    if (!hotspot.isEmpty())
        img.setText("hotspot", hotspot);
    QBuffer buf(png);
    buf.open(QIODevice::WriteOnly);
    return img.save(&buf, "PNG");
}

QString TypeExpr(const QString& type)
{
    bool ok = false;
    uint n = type.toUInt(&ok);
    if (ok)
        return QString("MAKEINTRESOURCE(%1)").arg(n);
    return "\"" + type + "\"";
}

// The width a description's "size" line gives; 0 without one.
int DescribedWidth(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    QTextStream in(&f);
    while (!in.atEnd()) {
        QStringList a = in.readLine().trimmed().split(' ', Qt::SkipEmptyParts);
        if (a.size() >= 3 && a[0] == "size")
            return a[1].toInt();
    }
    return 0;
}

// One picture as a PNG file, scaled to `pixels` wide.
int WritePng(const QString& out, int pixels, const QStringList& images)
{
    if (images.size() != 1 || pixels <= 0 || pixels > 4096) {
        std::fprintf(stderr, "usage: vximagegen --png OUT.png --size PIXELS FILE.pic\n");
        return 2;
    }
    int width = DescribedWidth(images[0]);
    QByteArray png;
    QString error;
    if (!Render(images[0], &png, &error, width > 0 ? double(pixels) / width : 1.0)) {
        std::fprintf(stderr, "vximagegen: %s\n", qPrintable(error));
        return 1;
    }
    QFile f(out);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(png) != png.size()) {
        std::fprintf(stderr, "vximagegen: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application, which needs no screen here.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString out, function, pngOut;
    int pixels = 0;
    QStringList images;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--cpp" && i + 1 < args.size())
            out = args[++i];
        else if (args[i] == "--function" && i + 1 < args.size())
            function = args[++i];
        else if (args[i] == "--png" && i + 1 < args.size())
            pngOut = args[++i];
        else if (args[i] == "--size" && i + 1 < args.size())
            pixels = args[++i].toInt();
        else
            images << args[i];
    }
    if (!pngOut.isEmpty())
        return WritePng(pngOut, pixels, images);
    if (out.isEmpty() || function.isEmpty()) {
        std::fprintf(stderr, "usage: vximagegen --cpp OUT.cpp --function NAME TYPE:ID:FILE.pic ...\n"
                             "       vximagegen --png OUT.png --size PIXELS FILE.pic\n");
        return 2;
    }
    QString src;
    QTextStream s(&src);
    s << "// Generated by vximagegen; do not edit.\n#include \"platform/ui/ResourceModule.h\"\n\n";
    s << "void " << function << "(vxw::ResourceModule& module)\n{\n";
    int n = 0;
    for (const QString& entry : images) {
        QStringList parts = entry.split(':');
        bool ok = false;
        uint id = parts.size() >= 3 ? parts[1].toUInt(&ok) : 0;
        if (!ok || parts[0].isEmpty()) {
            std::fprintf(stderr, "vximagegen: expected TYPE:ID:FILE, got %s\n", qPrintable(entry));
            return 2;
        }
        QByteArray png;
        QString error;
        if (!Render(parts.mid(2).join(':'), &png, &error)) {
            std::fprintf(stderr, "vximagegen: %s\n", qPrintable(error));
            return 1;
        }
        s << "    static const unsigned char p" << n << "[] = {";
        for (qsizetype i = 0; i < png.size(); ++i)
            s << (i % 20 == 0 ? "\n        " : "") << static_cast<unsigned>(static_cast<unsigned char>(png[i])) << ",";
        s << "\n    };\n";
        s << "    module.AddData(" << TypeExpr(parts[0]) << ", " << id << ", std::vector<unsigned char>(p" << n << ", p"
          << n << " + sizeof p" << n << "));\n";
        ++n;
    }
    s << "}\n";
    QFile f(out);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(src.toUtf8()) < 0) {
        std::fprintf(stderr, "vximagegen: cannot write %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}
