#include "design/DesignDocument.h"
#include "design/DesignHeader.h"

#include "barcode/Barcode.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <climits>
#include <string>

#include <gtest/gtest.h>

using namespace design;
using namespace platform;
using barcode::CODE128_B;
using barcode::rotate_270;
using barcode::SC9;
using barcode::TBarcode;

namespace {

QString fixture(const QString& name)
{
    return testsupport::dataPath(QStringLiteral("design/") + name);
}

struct DesignFileFixture : ::testing::Test {
    QTemporaryDir programDir;
    TCurrentFormat format;
    TDesignModel model{format};
    std::vector<TDesignObject*> attached;

    void SetUp() override
    {
        ASSERT_TRUE(programDir.isValid());
        QDir(programDir.path()).mkpath(QStringLiteral("images"));
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::blue);
        ASSERT_TRUE(logo.save(programDir.path() + QStringLiteral("/images/logo.png")));
        model.ProgramFolder = programDir.path();
        model.OnAttach = [this](TDesignObject& o) { attached.push_back(&o); };
    }

    QString temp(const QString& name) const { return programDir.path() + u'/' + name; }

    // A copy of a fixture with one line replaced (1-based).
    QString withLine(const QString& name, int line, const QByteArray& value)
    {
        QList<QByteArray> lines = testsupport::readBytes(fixture(name)).split('\n');
        lines[line - 1] = value + '\r';
        const QString path = temp(QStringLiteral("edited.car"));
        testsupport::writeBytes(path, lines.join('\n'));
        return path;
    }

    template <class E>
    QString errorOf(const QString& path)
    {
        try {
            LoadDesign(model, path, false);
        } catch (const E& e) {
            return e.message();
        }
        return QStringLiteral("<no error>");
    }
};

std::vector<TDesignObjectKind> kinds(const TDesignModel& m)
{
    std::vector<TDesignObjectKind> out;
    for (const auto& o : m.Objects())
        out.push_back(o->Kind());
    return out;
}

} // namespace

TEST_F(DesignFileFixture, EveryKindRoundTripsByteForByte)
{
    const QByteArray original = testsupport::readBytes(fixture(QStringLiteral("allkinds.car")));
    LoadDesign(model, fixture(QStringLiteral("allkinds.car")), false);
    ASSERT_EQ(model.Count(), 17);
    EXPECT_EQ(model.ObjectsOf<TImage>().size(), 3u);
    EXPECT_EQ(model.ObjectsOf<TLine>().size(), 4u);
    EXPECT_EQ(model.ObjectsOf<TBarcodeObject>().size(), 2u);

    const QString saved = temp(QStringLiteral("perso/copy.car"));
    SaveDesign(model, saved, TDesignScope::WholeDesign);
    EXPECT_EQ(testsupport::readBytes(saved), original);
    EXPECT_EQ(DesignFileBytes(model, TDesignScope::WholeDesign), original);
}

TEST_F(DesignFileFixture, RecordsReadIntoTheirProperties)
{
    LoadDesign(model, fixture(QStringLiteral("allkinds.car")), false);
    EXPECT_EQ(format.NomFormat, QStringLiteral("Badge 54 x 30"));
    EXPECT_EQ(format.LargeurEtiquette, 5400);
    EXPECT_EQ(format.MargeHaut, 1250);
    EXPECT_EQ(model.LargeurEtiquettePx, 204); // 96 x 5400 / 2540 = 204.09
    EXPECT_EQ(model.HauteurEtiquettePx, 113); // 113.39

    const auto images = model.ObjectsOf<TImage>();
    EXPECT_EQ(images[0]->Picture().size(), QSize(40, 20));
    EXPECT_TRUE(images[1]->Picture().isNull()); // missing file, kept
    EXPECT_TRUE(images[1]->Center);

    const TShape* shape = model.ObjectsOf<TShape>()[0];
    EXPECT_EQ(shape->Shape, stRoundRect);
    EXPECT_EQ(shape->Brush.Style(), bsBDiagonal);
    EXPECT_EQ(shape->Pen.Style(), psDashDot);
    EXPECT_EQ(shape->Pen.Color(), clRed);
    const TShape* ellipse = model.ObjectsOf<TShape>()[1];
    EXPECT_EQ(ellipse->Shape, stEllipse);
    EXPECT_EQ(ellipse->Brush.Style(), bsClear);
    EXPECT_EQ(ellipse->Pen.Style(), psClear);

    const TLabel* second = model.ObjectsOf<TLabel>()[1];
    EXPECT_EQ(second->Caption, QStringLiteral("Café crème — 5 €"));
    EXPECT_EQ(second->Alignment, taRightJustify);
    EXPECT_TRUE(second->Transparent);
    EXPECT_EQ(second->Font.Style(), (TFontStyles{fsItalic, fsUnderline, fsStrikeOut}));
    EXPECT_EQ(model.ObjectsOf<TLabel>()[0]->Alignment, taCenter);

    const auto lines = model.ObjectsOf<TLine>();
    EXPECT_EQ(lines[0]->Line(), ltHorizontal);
    EXPECT_EQ(lines[1]->Line(), ltVertical);
    EXPECT_EQ(lines[1]->Pen.Style(), psDash);
    EXPECT_EQ(lines[2]->Line(), ltUpDiagonal);
    EXPECT_EQ(lines[2]->Pen.Style(), psDot);
    EXPECT_EQ(lines[3]->Line(), ltDownDiagonal);
    EXPECT_EQ(lines[3]->Pen.Style(), psDashDotDot);

    const auto memos = model.ObjectsOf<TMemo>();
    EXPECT_EQ(memos[0]->Lines,
              (QStringList{QStringLiteral("Block of text"), QStringLiteral("<Prénom> <Nom>"), QString()}));
    EXPECT_EQ(memos[0]->SelLength, 13);
    EXPECT_EQ(memos[0]->Alignment, taRightJustify);
    EXPECT_EQ(memos[1]->BorderStyle, bsNone);
    EXPECT_TRUE(memos[1]->Lines.isEmpty());

    const TCircleLabel* circle = model.ObjectsOf<TCircleLabel>()[0];
    EXPECT_TRUE(circle->EvenSpaceChars());
    EXPECT_EQ(circle->StartingVector(), 90);
    EXPECT_EQ(circle->Degrees(), 270);

    const TBarcode& code = model.ObjectsOf<TBarcodeObject>()[1]->Barcode();
    EXPECT_EQ(code.Bar_CodeType(), CODE128_B);
    EXPECT_EQ(code.Bar_ModuleWidth(), SC9);
    EXPECT_EQ(code.Bar_Rotation(), rotate_270);
    EXPECT_EQ(code.Bar_CodeAddon(), QStringLiteral("12345"));
    EXPECT_EQ(code.Bar_Fontscaling(), 20);
}

TEST_F(DesignFileFixture, OldVersionsConvertTheLabelSize)
{
    format.NbColonnes = 3;
    format.MargeGauche = 777;
    LoadDesign(model, fixture(QStringLiteral("version5.car")), false);
    EXPECT_EQ(format.LargeurEtiquette, 10001);
    EXPECT_EQ(format.HauteurEtiquette, 5001);
    EXPECT_EQ(model.LargeurEtiquettePx, 378);
    EXPECT_EQ(model.HauteurEtiquettePx, 189);
    EXPECT_TRUE(format.NomFormat.isEmpty());
    // Below version 7 the counts, margins and gaps stay as they were.
    EXPECT_EQ(format.NbColonnes, 3);
    EXPECT_EQ(format.MargeGauche, 777);
    EXPECT_EQ(kinds(model), (std::vector{TDesignObjectKind::Label, TDesignObjectKind::CircleLabel}));

    const QByteArray saved = DesignFileBytes(model, TDesignScope::WholeDesign);
    EXPECT_TRUE(saved.startsWith("10001\r\n5001\r\nversion8\r\n\r\n3\r\n"));

    model.Clear();
    LoadDesign(model, fixture(QStringLiteral("version6.car")), false);
    EXPECT_EQ(format.LargeurEtiquette, 9000);
    EXPECT_EQ(format.HauteurEtiquette, 5000);
    EXPECT_EQ(model.LargeurEtiquettePx, 340);
    EXPECT_EQ(model.HauteurEtiquettePx, 189);
}

TEST_F(DesignFileFixture, VersionSevenDerivesTheSheetFromAnA4Page)
{
    LoadDesign(model, fixture(QStringLiteral("version7.car")), false);
    EXPECT_EQ(format.LargeurEtiquette, 9000);
    EXPECT_EQ(format.MargeHaut, 1000);
    EXPECT_EQ(format.MargeGauche, 800);
    EXPECT_EQ(format.EcartHorizontal, 250);
    EXPECT_EQ(format.EcartVertical, 0);
    EXPECT_TRUE(format.Paysage);
    EXPECT_EQ(format.NbColonnes, 2); // (2.5 + 210 - 16) / 92.5
    EXPECT_EQ(format.NbLignes, 5);   // (297 - 20) / 50
    EXPECT_EQ(model.ObjectsOf<TLabel>().size(), 1u);

    EXPECT_EQ(LabelsOnA4(210, 100, 0, 0, 0), 50);  // 210 labels of 1 mm: capped
    EXPECT_EQ(LabelsOnA4(210, 0, 0, 80, 80), 1);   // nothing to divide by
    EXPECT_EQ(LabelsOnA4(297, 50, -5, 0, 0), 1);   // label and gap cancel out
}

TEST_F(DesignFileFixture, VersionSevenCountsStayBetweenOneAndFifty)
{
    // Margins wider than the page (line 6 left, line 4 top): the A4 formula goes below zero.
    struct Case {
        int line;
        QByteArray value;
        int columns, rows;
    };
    for (const Case& c : {Case{6, "3000", 1, 5}, Case{4, "5000", 2, 1}, Case{6, "-1000", 3, 5}}) {
        model.Clear();
        LoadDesign(model, withLine(QStringLiteral("version7.car"), c.line, c.value), false);
        EXPECT_EQ(format.NbColonnes, c.columns) << c.line << " = " << c.value.constData();
        EXPECT_EQ(format.NbLignes, c.rows) << c.line << " = " << c.value.constData();
        // What the next save writes into the version-8 header.
        const QByteArray counts = QStringLiteral("\r\nversion8\r\n\r\n%1\r\n%2\r\n")
                                      .arg(c.columns)
                                      .arg(c.rows)
                                      .toLatin1();
        EXPECT_TRUE(DesignFileBytes(model, TDesignScope::WholeDesign).contains(counts));
    }
    // A count far beyond an int (margins at the bottom of the range) is capped, not converted.
    EXPECT_EQ(LabelsOnA4(297, 1, 0, INT_MIN, INT_MIN), 50);
    EXPECT_EQ(LabelsOnA4(210, 1, 0, INT_MAX, INT_MAX), 1);
}

TEST_F(DesignFileFixture, LengthsBeyondTenMetresAreConversionErrorsNamingTheLine)
{
    // 10 m is 37795 design pixels, 100000 tenths and 1000000 hundredths of a millimetre.
    struct Case {
        const char* file;
        int line;
        QByteArray value;
        bool refused;
    };
    const Case cases[] = {
        // Label size in design pixels (versions 1-5).
        {"version5.car", 1, "100000000", true},
        {"version5.car", 2, "37796", true},
        {"version5.car", 1, "37795", false},
        // Tenths of a millimetre (versions 6 and 7).
        {"version6.car", 1, "100001", true},
        {"version6.car", 2, "-2147483648", true},
        {"version6.car", 2, "100000", false},
        {"version7.car", 1, "214748365", true},
        {"version7.car", 6, "100001", true},     // left margin
        {"version7.car", 9, "2147483647", true}, // horizontal gap
        {"version7.car", 4, "-100000", false},   // top margin
        // Hundredths of a millimetre (version 8 and above).
        {"version9.car", 1, "1000001", true},
        {"version9.car", 9, "1000001", true},    // left margin
        {"version9.car", 11, "-1000001", true},  // ellipse width
        {"version9.car", 1, "1000000", false},
        // Positions and sizes of the records, in design pixels (the first shape).
        {"allkinds.car", 42, "37796", true},
        {"allkinds.car", 43, "-37796", true},
        {"allkinds.car", 44, "2147483647", true},
        {"allkinds.car", 42, "-37795", false},
    };
    for (const Case& c : cases) {
        model.Clear();
        const QString m = errorOf<EConvertError>(withLine(QLatin1String(c.file), c.line, c.value));
        const std::string where = std::string(c.file) + " line " + std::to_string(c.line);
        if (c.refused) {
            EXPECT_TRUE(m.contains(QStringLiteral("edited.car, line %1)").arg(c.line)))
                << where << ": " << m.toStdString();
        } else {
            EXPECT_EQ(m, QStringLiteral("<no error>")) << where;
        }
    }

    // A header made in code is held to the same limits, and nothing of it is applied.
    TDesignHeader header;
    header.Version = 7;
    header.Width = 900;
    header.LeftMarginTenthsMm = INT_MAX;
    format.LargeurEtiquette = 123;
    int widthPx = 0;
    int heightPx = 0;
    EXPECT_THROW(ApplyDesignHeader(header, format, widthPx, heightPx), EConvertError);
    EXPECT_EQ(format.LargeurEtiquette, 123);
}

TEST_F(DesignFileFixture, PastingAtTheEdgeOfTheRangeIsAConversionError)
{
    PlaceShape(model, 10, 20, stRectangle);
    const QString clip = DesignClipboardPath(programDir.path());
    CopyDesign(model, {model.Object(0)}, clip);
    const QByteArray copied = testsupport::readBytes(clip);
    // Line 15 is the shape's left: 12 header lines, then the image and shape counts.
    ASSERT_EQ(copied.split('\n').value(14), QByteArray("10\r"));
    struct Case {
        QByteArray left;
        int pastes;
        bool refused;
    };
    for (const Case& c : {Case{"2147483647", 1, true}, Case{"37788", 1, true},
                          Case{"37787", 1, false}, Case{"0", INT_MAX, true}}) {
        QList<QByteArray> lines = copied.split('\n');
        lines[14] = c.left + '\r';
        testsupport::writeBytes(clip, lines.join('\n'));
        model.Clear();
        model.NbCollages = c.pastes;
        QString m = QStringLiteral("<no error>");
        try {
            LoadDesign(model, clip, true, 8, 8);
        } catch (const EConvertError& e) {
            m = e.message();
        }
        if (c.refused) {
            EXPECT_TRUE(m.contains(QStringLiteral("line 15)"))) << c.left.constData() << ": "
                                                                << m.toStdString();
            EXPECT_TRUE(model.IsEmpty());
        } else {
            ASSERT_EQ(model.Count(), 1) << m.toStdString();
            EXPECT_EQ(model.Object(0)->Left, 37795);
        }
    }
}

TEST_F(DesignFileFixture, SectionsPresentFollowTheVersion)
{
    LoadDesign(model, fixture(QStringLiteral("version3.car")), false);
    EXPECT_EQ(kinds(model), (std::vector{TDesignObjectKind::Label}));
    model.Clear();
    LoadDesign(model, fixture(QStringLiteral("version4.car")), false);
    EXPECT_EQ(kinds(model), (std::vector{TDesignObjectKind::Label, TDesignObjectKind::Line,
                                         TDesignObjectKind::Memo}));
    model.Clear();
    // Version 9 reads as version 8, round label included.
    LoadDesign(model, fixture(QStringLiteral("version9.car")), false);
    EXPECT_EQ(kinds(model), (std::vector{TDesignObjectKind::Barcode}));
    EXPECT_TRUE(format.EtiquetteRonde);
    EXPECT_EQ(format.NomFormat, QStringLiteral("Rond 50"));
    EXPECT_EQ(format.NbLignes, 5);
}

TEST_F(DesignFileFixture, RoundLabelOnlyWhenTheEllipseMatchesTheLabel)
{
    struct Case {
        QByteArray w, h;
        bool round;
    };
    for (const Case& c : {Case{"5000", "5000", true}, Case{"0", "0", false},
                          Case{"5000", "4999", false}, Case{"4999", "5000", false}}) {
        QList<QByteArray> lines = testsupport::readBytes(fixture(QStringLiteral("version9.car"))).split('\n');
        lines[10] = c.w + '\r';
        lines[11] = c.h + '\r';
        const QString path = temp(QStringLiteral("round.car"));
        testsupport::writeBytes(path, lines.join('\n'));
        format.EtiquetteRonde = !c.round;
        model.Clear();
        LoadDesign(model, path, false);
        EXPECT_EQ(format.EtiquetteRonde, c.round) << c.w.constData() << " x " << c.h.constData();
        const QByteArray bytes = DesignFileBytes(model, TDesignScope::WholeDesign);
        EXPECT_TRUE(bytes.contains(c.round ? "\r\n600\r\n5000\r\n5000\r\n" : "\r\n600\r\n0\r\n0\r\n"));
    }
}

TEST_F(DesignFileFixture, SelectionScopeWritesOnlyTheSelectionInItsOrder)
{
    format.LargeurEtiquette = 5000;
    format.HauteurEtiquette = 3000;
    const QByteArray empty = DesignFileBytes(model, TDesignScope::Selection, {});
    EXPECT_EQ(empty, QByteArray("5000\r\n3000\r\nversion8\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"
                                "0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n"));

    TShape* a = PlaceShape(model, 1, 1, stRectangle);
    PlaceShape(model, 2, 2, stEllipse);
    TShape* c = PlaceShape(model, 3, 3, stRoundRect);
    const QByteArray two = DesignFileBytes(model, TDesignScope::Selection, {c, a});
    EXPECT_TRUE(two.contains("\r\n2\r\n3\r\n3\r\n65\r\n65\r\n")); // c first, then a
    EXPECT_FALSE(two.contains("\r\n2\r\n2\r\n65\r\n"));
}

TEST_F(DesignFileFixture, PastesMoveByOneMoreGridStepEachTime)
{
    format.LargeurEtiquette = 5000;
    TShape* shape = PlaceShape(model, 10, 20, stRectangle);
    const QString clip = DesignClipboardPath(programDir.path());
    EXPECT_FALSE(EditionMenuState(1, clip).Paste);
    CopyDesign(model, {shape}, clip);
    EXPECT_TRUE(EditionMenuState(0, clip).Paste);
    EXPECT_FALSE(EditionMenuState(0, clip).Copy);

    // The design being pasted into has another label: it keeps its own.
    format.LargeurEtiquette = 7000;
    format.NomFormat = QStringLiteral("Mine");
    int emptied = 0;
    PasteDesign(model, clip, 8, 5, [&emptied] { ++emptied; });
    PasteDesign(model, clip, 8, 5, [&emptied] { ++emptied; });
    ASSERT_EQ(model.Count(), 3);
    EXPECT_EQ(emptied, 2);
    EXPECT_EQ(model.Object(1)->Left, 18);
    EXPECT_EQ(model.Object(1)->Top, 25);
    EXPECT_EQ(model.Object(2)->Left, 26);
    EXPECT_EQ(model.Object(2)->Top, 30);
    EXPECT_EQ(attached, (std::vector<TDesignObject*>{model.Object(1), model.Object(2)}));
    EXPECT_EQ(format.LargeurEtiquette, 7000);
    EXPECT_EQ(format.NomFormat, QStringLiteral("Mine"));
    EXPECT_TRUE(model.Modifie);

    // Copying again restarts at one step.
    CopyDesign(model, {model.Object(2)}, clip);
    EXPECT_EQ(model.NbCollages, 0);
    PasteDesign(model, clip, 8, 5);
    EXPECT_EQ(model.Object(3)->Left, 34);
    EXPECT_EQ(model.Object(3)->Top, 35);
}

TEST_F(DesignFileFixture, CutCopiesThenDeletesAndPasteSwallowsErrors)
{
    TShape* shape = PlaceShape(model, 10, 20, stRectangle);
    const QString clip = DesignClipboardPath(programDir.path());
    CutDesign(model, {shape}, clip, [this, shape] { model.Free(shape); });
    EXPECT_TRUE(model.IsEmpty());
    PasteDesign(model, clip, 8, 8);
    ASSERT_EQ(model.Count(), 1);
    EXPECT_EQ(model.Object(0)->Left, 18);

    // A damaged clipboard file: what could be read stays, nothing escapes.
    QByteArray bytes = testsupport::readBytes(clip);
    bytes.chop(6);
    testsupport::writeBytes(clip, bytes);
    model.Modifie = false;
    EXPECT_NO_THROW(PasteDesign(model, clip, 8, 8));
    EXPECT_TRUE(model.Modifie);
    QFile::remove(clip);
    EXPECT_NO_THROW(PasteDesign(model, clip, 8, 8));
}

TEST_F(DesignFileFixture, ReloadGroupsObjectsByKindAndDeletesTheTransientFile)
{
    format.LargeurEtiquette = 5000;
    format.HauteurEtiquette = 2000;
    PlaceShape(model, 0, 0, stRectangle);
    PlaceLabel(model, 0, 0, QStringLiteral("a"));
    PlaceShape(model, 5, 5, stEllipse);
    ReloadDesign(model, programDir.path());
    EXPECT_EQ(kinds(model), (std::vector{TDesignObjectKind::Shape, TDesignObjectKind::Shape,
                                         TDesignObjectKind::Label}));
    EXPECT_EQ(model.ObjectsOf<TShape>()[1]->Shape, stEllipse);
    EXPECT_FALSE(QFile::exists(TransientDesignPath(programDir.path())));
    EXPECT_EQ(format.LargeurEtiquette, 5000);
}

TEST_F(DesignFileFixture, OpeningNamesTheDocumentOnlyWhenTheWholeFileLoads)
{
    PlaceShape(model, 0, 0, stRectangle);
    model.Modifie = true;
    OpenDesign(model, fixture(QStringLiteral("allkinds.car")));
    EXPECT_EQ(model.NomDocument, fixture(QStringLiteral("allkinds.car")));
    EXPECT_EQ(model.Count(), 17);
    EXPECT_FALSE(model.Modifie);

    // Cut inside the tilted-text section: the objects before it stay, the name does not.
    QByteArray bytes = testsupport::readBytes(fixture(QStringLiteral("allkinds.car")));
    const QString broken = temp(QStringLiteral("perso/broken.car"));
    QDir(programDir.path()).mkpath(QStringLiteral("perso"));
    testsupport::writeBytes(broken, bytes.left(bytes.indexOf("Tilted text")));
    EXPECT_THROW(OpenDesign(model, broken), EInOutError);
    EXPECT_TRUE(model.NomDocument.isEmpty());
    EXPECT_EQ(model.Count(), 7); // 3 images, 2 shapes, 2 simple texts
}

TEST_F(DesignFileFixture, BadFilesGiveErrorsNamingFileAndLine)
{
    // Line 42 is the left of the first shape.
    QString m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), 42, "abc"));
    EXPECT_TRUE(m.contains(QStringLiteral("abc"))) << m.toStdString();
    EXPECT_TRUE(m.contains(QStringLiteral("edited.car"))) << m.toStdString();
    EXPECT_TRUE(m.contains(QStringLiteral("line 42"))) << m.toStdString();

    // Brush code 8 (line 50) has no brush style.
    m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), 50, "8"));
    EXPECT_TRUE(m.contains(QStringLiteral("brush"))) << m.toStdString();
    EXPECT_TRUE(m.contains(QStringLiteral("line 50"))) << m.toStdString();

    m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), 3, "versionX"));
    EXPECT_TRUE(m.contains(QStringLiteral("line 3"))) << m.toStdString();
    m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), 3, "v8"));
    EXPECT_TRUE(m.contains(QStringLiteral("line 3"))) << m.toStdString();

    // A barcode type of 14, a module width of 10, an alignment of 3.
    const QByteArray all = testsupport::readBytes(fixture(QStringLiteral("allkinds.car")));
    const QList<QByteArray> lines = all.split('\n');
    auto lineOf = [&lines](const QByteArray& text, int after = 0) {
        for (int i = after; i < lines.size(); ++i)
            if (lines[i] == text + '\r')
                return i + 1;
        return -1;
    };
    const int barcodeType = lineOf("4006381333931") + 1;
    m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), barcodeType, "14"));
    EXPECT_TRUE(m.contains(QStringLiteral("barcode type"))) << m.toStdString();
    m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), barcodeType + 1, "10"));
    EXPECT_TRUE(m.contains(QStringLiteral("module width"))) << m.toStdString();
    const int alignment = lineOf("Nom : <Nom>") - 1;
    m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), alignment, "3"));
    EXPECT_TRUE(m.contains(QStringLiteral("alignment"))) << m.toStdString();
    // A height percent the barcode refuses is reported with the place it came from.
    m = errorOf<EConvertError>(withLine(QStringLiteral("allkinds.car"), barcodeType + 4, "10"));
    EXPECT_TRUE(m.contains(QStringLiteral("20..200"))) << m.toStdString();

    EXPECT_THROW(LoadDesign(model, temp(QStringLiteral("none.car")), false), EInOutError);
    // A name that differs from the file's only in letter case finds it.
    testsupport::writeBytes(temp(QStringLiteral("Mixed.car")),
                            testsupport::readBytes(fixture(QStringLiteral("version6.car"))));
    EXPECT_NO_THROW(LoadDesign(model, temp(QStringLiteral("MIXED.CAR")), false));
    const QString truncated = temp(QStringLiteral("short.car"));
    testsupport::writeBytes(truncated, "5400\r\n3000\r\nversion8\r\nX\r\n2\r\n");
    EXPECT_THROW(LoadDesign(model, truncated, false), EInOutError);
}

TEST_F(DesignFileFixture, WritingKeepsOneValuePerLineAndFailsCleanly)
{
    PlaceLabel(model, 0, 0, QStringLiteral("two\r\nlines\nhere"));
    const QByteArray bytes = DesignFileBytes(model, TDesignScope::WholeDesign);
    EXPECT_TRUE(bytes.contains("\r\ntwo lines here\r\n"));
    model.Clear();
    const QString path = temp(QStringLiteral("lines.car"));
    testsupport::writeBytes(path, bytes);
    LoadDesign(model, path, false);
    ASSERT_EQ(model.ObjectsOf<TLabel>().size(), 1u);
    EXPECT_EQ(model.ObjectsOf<TLabel>()[0]->Caption, QStringLiteral("two lines here"));

    // A file in the way of the folder: the save fails and reports it.
    testsupport::writeBytes(temp(QStringLiteral("blocker")), "x");
    EXPECT_THROW(SaveDesign(model, temp(QStringLiteral("blocker/d.car")), TDesignScope::WholeDesign),
                 EInOutError);
}

TEST(DesignFilePaths, NamesUnderTheProgramFolder)
{
    EXPECT_EQ(SavePath(QStringLiteral("/prog"), QStringLiteral("/elsewhere/Badge.car")),
              QStringLiteral("/prog/perso/Badge.car"));
    EXPECT_EQ(SaveAsPath(QStringLiteral("/prog"), QStringLiteral("Carte")),
              QStringLiteral("/prog/perso/Carte.car"));
    EXPECT_EQ(TransientDesignPath(QStringLiteral("/prog")), QStringLiteral("/prog/perso/temp.car"));
    EXPECT_EQ(DesignClipboardPath(QStringLiteral("/prog")), QStringLiteral("/prog/rarozuruz.ppa"));
}

TEST_F(DesignFileFixture, SaveCommandsNameTheFileInTheDesignsFolder)
{
    const QString prog = programDir.path();
    std::vector<QString> saved;
    int saveAsRuns = 0;
    auto record = [&saved](const QString& p) { saved.push_back(p); };

    SaveCommand(model, prog, [&saveAsRuns] { ++saveAsRuns; }, record);
    EXPECT_EQ(saveAsRuns, 1); // never saved: save as
    EXPECT_TRUE(saved.empty());

    model.NomDocument = QStringLiteral("/somewhere/else/Badge.car");
    SaveCommand(model, prog, [&saveAsRuns] { ++saveAsRuns; }, record);
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0], prog + QStringLiteral("/perso/Badge.car"));
    EXPECT_EQ(model.NomDocument, saved[0]);

    QString preset = QStringLiteral("<not asked>");
    EXPECT_FALSE(SaveAsCommand(model, prog, [&preset](const QString& p) {
        preset = p;
        return QString();
    }, record));
    EXPECT_EQ(preset, QStringLiteral("Badge"));
    EXPECT_EQ(saved.size(), 1u);

    EXPECT_TRUE(SaveAsCommand(model, prog, [](const QString&) { return QStringLiteral("Carte"); }, record));
    EXPECT_EQ(saved.back(), prog + QStringLiteral("/perso/Carte.car"));
    EXPECT_EQ(model.NomDocument, saved.back());

    model.NomDocument = QStringLiteral("/p/perso/noname");
    SaveAsCommand(model, prog, [&preset](const QString& p) {
        preset = p;
        return QString();
    }, record);
    EXPECT_TRUE(preset.isEmpty());

    EXPECT_EQ(EditingCaption(QStringLiteral("Pravolis"), QStringLiteral(" : editing the document \""),
                             QStringLiteral("/p/perso/Badge.car")),
              QStringLiteral("Pravolis : editing the document \"Badge\""));
    EXPECT_EQ(EditingCaption(QStringLiteral("P"), QStringLiteral(" : \""), QStringLiteral("/p/x")),
              QStringLiteral("P : \"\""));

    model.Modifie = true;
    SaveDesignDocument(model, temp(QStringLiteral("perso/Real.car")));
    EXPECT_FALSE(model.Modifie);
    EXPECT_TRUE(QFile::exists(temp(QStringLiteral("perso/Real.car"))));
}

TEST_F(DesignFileFixture, AnUnreadablePictureKeepsItsImageSoSavingLosesNothing)
{
    // The picture file is there but cannot be decoded (a format the readers do not know, or a
    // damaged file): the design still opens whole and saves back unchanged.
    testsupport::writeBytes(programDir.path() + QStringLiteral("/images/logo.png"), "not a picture");
    int reported = 0;
    model.OnUnreadableImage = [&](const QString&) { ++reported; };
    const QByteArray original = testsupport::readBytes(fixture(QStringLiteral("allkinds.car")));
    LoadDesign(model, fixture(QStringLiteral("allkinds.car")), false);
    EXPECT_GE(reported, 1);
    ASSERT_EQ(model.Count(), 17);
    EXPECT_EQ(DesignFileBytes(model, TDesignScope::WholeDesign), original);
}
