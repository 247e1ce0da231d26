// The annotation layer: the file a picture's annotations live in, and the file round trip per
// page, with damaged files refused.
#include "ImagingTestSupport.h"

#include "imaging/Annotations.h"
#include "platform/Paths.h"

using namespace imaging;

TEST(Annotations, TheFileNameReplacesOnlyThePicturesExtension)
{
    const struct {
        const char* set;
        const char* image;
        const char* expected;
    } cases[] = {
        {"notes.ant", "/p/a.bmp", "notes.ant"},
        {"", "/p/a.bmp", "/p/a.ant"},
        {"", "/home/u/.pics/a.bmp", "/home/u/.pics/a.ant"},
        {"", "/home/u/my.scans/b.png", "/home/u/my.scans/b.ant"},
        {"", "/p/a.b.tif", "/p/a.b.ant"},
        {"", "/p.d/noext", "/p.d/noext.ant"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnnoFileNameFor(c.set, c.image), QString(c.expected)) << c.image;
    EXPECT_EQ(AnnoFileNameFor("", ""), platform::programFolder() + "/default.ant");
}

TEST(Annotations, EachPageIsSavedAndLoadedOnItsOwn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.ant");
    AnnotationLayer first;
    first.Add({Annotation::Frame, QRect(1, 2, 30, 40), QColor(Qt::red), {}});
    first.Add({Annotation::Note, QRect(5, 5, 10, 10), QColor(Qt::blue), QStringLiteral("a;b")});
    ASSERT_TRUE(first.Save(path, 0));
    AnnotationLayer second;
    second.Add({Annotation::Line, QRect(0, 0, 9, 9), QColor(Qt::green), {}});
    ASSERT_TRUE(second.Save(path, 1));

    AnnotationLayer loaded;
    ASSERT_TRUE(loaded.Load(path, 0));
    EXPECT_EQ(loaded.Items(), first.Items());
    ASSERT_TRUE(loaded.Load(path, 1));
    EXPECT_EQ(loaded.Items(), second.Items());
    EXPECT_FALSE(loaded.Load(dir.filePath("none.ant"), 0));

    QList<Annotation> out;
    for (const QByteArray& bad : {QByteArray("x\n"), QByteArray("Pravolis annotations 1\n0;frame;1;2;3\n"),
                                  QByteArray("Pravolis annotations 1\n0;blob;1;2;3;4;#ff0000;\n"),
                                  QByteArray("Pravolis annotations 1\n0;frame;1;2;-3;4;#ff0000;\n"),
                                  QByteArray("Pravolis annotations 1\n0;frame;1;2;3;4;red;\n")}) {
        SCOPED_TRACE(bad.constData());
        QString why;
        EXPECT_FALSE(ParseAnnotations(bad, 0, out, &why));
        EXPECT_FALSE(why.isEmpty());
    }
}

TEST(Annotations, APressAndAReleaseFrameANewAnnotation)
{
    AnnotationLayer layer;
    layer.MouseDown(QPoint(10, 10));
    layer.MouseMove(QPoint(4, 30));
    QRect rubber;
    ASSERT_TRUE(layer.Rubber(rubber));
    EXPECT_EQ(rubber, QRect(QPoint(4, 10), QPoint(10, 30)));
    EXPECT_TRUE(layer.MouseUp(QPoint(2, 30)));
    ASSERT_EQ(layer.Items().size(), 1);
    EXPECT_EQ(layer.Items()[0].rect, QRect(QPoint(2, 10), QPoint(10, 30)));
    EXPECT_FALSE(layer.Rubber(rubber));
    // A click without a drag adds nothing.
    layer.MouseDown(QPoint(1, 1));
    EXPECT_FALSE(layer.MouseUp(QPoint(1, 1)));
    EXPECT_EQ(layer.Items().size(), 1);
}
