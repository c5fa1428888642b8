// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The program as a user starts it without a display: its options, the files it writes, the
// window they show, and how it refuses what it cannot do.
#include "explore_panel.h"
#include "frm_velmora.h"

// moc cannot read the accented label names and needs none of these.
#ifndef Q_MOC_RUN
#include "recording_surface.h"

#include "core_text.h"
#include "number_text.h"
#include "parameter_store.h"
#include "start_action.h"
#include "theory_curve.h"
#endif

#include <QCheckBox>
#include <QFontInfo>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <map>

#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Run {
    int status;
    QString out, err;
};

QByteArrayList utf8(const QStringList& texts) {
    QByteArrayList bytes;
    for (const QString& text : texts)
        bytes << text.toUtf8();
    return bytes;
}

// In an empty folder with its own TMPDIR, so that anything written shows up.
class Sandbox {
public:
    QTemporaryDir cwd, tmp, runtime;

    // FILE_SIZE_LIMIT, in bytes, makes a write past it fail as a full disk would; STANDARD_OUTPUT
    // names a file standard output goes to.
    Run velmora(const QStringList& arguments, const QStringList& variables = {},
                rlim_t fileSizeLimit = RLIM_INFINITY, const QString& standardOutput = {}) {
        return velmoraInBytes(utf8(arguments), utf8(variables), fileSizeLimit, standardOutput);
    }
    // Arguments and variables as the bytes they are, UTF-8 or not; UNPRIVILEGED runs it as
    // nobody when the tests run as root, for whom every folder is writable.
    Run velmoraInBytes(const QByteArrayList& arguments, const QByteArrayList& variables,
                       rlim_t fileSizeLimit = RLIM_INFINITY, const QString& standardOutput = {},
                       bool unprivileged = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(u"TMPDIR"_s, tmp.path());
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        env.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        std::map<QByteArray, QByteArray> settings;
        for (const QString& name : env.keys())
            settings[name.toUtf8()] = env.value(name).toUtf8();
        for (const QByteArray& v : variables)
            settings[v.left(v.indexOf('='))] = v.mid(v.indexOf('=') + 1);
        QByteArrayList strings{VELMORA_BINARY};
        strings += arguments;
        const qsizetype argc = strings.size();
        for (const auto& [name, value] : settings)
            strings << name + '=' + value;
        std::vector<char*> argv, envp;
        for (QByteArray& string : strings)
            (argv.size() < std::size_t(argc) ? argv : envp).push_back(string.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        QProcess p;
        p.setWorkingDirectory(cwd.path());
        if (!standardOutput.isEmpty())
            p.setStandardOutputFile(standardOutput);
        p.setChildProcessModifier([&] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
            signal(SIGXFSZ, SIG_IGN); // the write fails with EFBIG instead of ending the program
            if (unprivileged && geteuid() == 0 &&
                (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
                _exit(126);
            // QProcess would hand over the arguments as UTF-8.
            execve(argv[0], argv.data(), envp.data());
            _exit(errno == EACCES ? 77 : 127);
        });
        p.start(QStringLiteral(VELMORA_BINARY), {});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return {-1, {}, u"did not exit normally"_s};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
    QStringList written() const {
        return QDir(cwd.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System) +
               QDir(tmp.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System);
    }
    QString inCwd(const QString& name) const { return QDir(cwd.path()).filePath(name); }
};

// Bars and theory curve, in the CSV's order, of a run of the presets or of Explore's values.
using Columns = std::vector<std::pair<double, double>>;

Columns expectedColumns(double fi, const QString& distance, const QLocale& locale,
                        const velmora::ExploreSettings& explore = {}) {
    velmora::testing::RecordingSurface surface;
    velmora::testing::RecordingLabelBoard labels;
    using namespace velmora::qt;
    const velmora::ParameterStore presets{toUtf8(numberToText(fi, locale)), toUtf8(distance), "0"};
    const velmora::RunResult run =
        velmora::runStartAction(presets, surface, labels, decimalPoint(locale), {}, explore);
    const std::vector<double> theory = velmora::theoryIntensities(run.parameters);
    Columns columns;
    for (std::size_t i = 0; i < theory.size(); ++i)
        columns.emplace_back(run.report.intensities[i], theory[i]);
    return columns;
}

void verifyCsv(const QByteArray& csv, const Columns& expected) {
    const QList<QByteArray> rows = csv.split('\n');
    QCOMPARE(rows.size(), 223); // the header, 221 points, and the empty rest after the last '\n'
    QCOMPARE(rows[0], "y_twips,intensity_twips,theory_twips");
    QCOMPARE(expected.size(), 221u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const QList<QByteArray> fields = rows[qsizetype(i) + 1].split(',');
        QCOMPARE(fields.size(), 3);
        QCOMPARE(fields[0].toInt(), 7000 - 25 * int(i));
        for (const auto& [field, wanted] :
             {std::pair{fields[1], expected[i].first}, {fields[2], expected[i].second}}) {
            bool number = false;
            const double got = field.toDouble(&number);
            QVERIFY2(number && qAbs(got - wanted) <= 1e-13 * qMax(1.0, qAbs(wanted)),
                     rows[qsizetype(i) + 1].constData());
        }
    }
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT

private slots:
    // Whatever is wrong on the command line is refused, in two lines, before anything is written.
    void options_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message"); // begins standard output for 0, else standard error
        QTest::newRow("help") << u"--help"_s << 0 << u"Usage: velmora [options]\n"_s;
        QTest::newRow("version") << u"-v"_s << 0 << u"velmora " VELMORA_VERSION "\n"_s;
        QTest::newRow("unknown option")
            << u"--bogus -o w.png"_s << 2
            << u"Unknown option 'bogus'. The options are -h, -v, --frequency, --distance, --run, "
               u"-o, --scale, --intensities, --wavelength, --aperture, --detector-distance and "
               u"--theory."_s;
        QTest::newRow("unknown frequency")
            << u"--frequency medium -o w.png"_s << 2
            << u"--frequency takes higher, high, middle, low or lower, not 'medium'."_s;
        QTest::newRow("distance without a value")
            << u"-o w.png --distance"_s << 2
            << u"Missing value after '--distance'. It takes 300, 350 or 400."_s;
        QTest::newRow("scale too large") << u"--scale 9 -o w.png"_s << 2
                                         << u"--scale takes a whole number from 1 to 8, not '9'."_s;
        QTest::newRow("a picture format not written")
            << u"-o w.gif"_s << 2
            << u"--output writes PNG (.png), SVG (.svg), JPEG (.jpg, .jpeg), BMP (.bmp) or WebP "
               u"(.webp), by the name's extension; 'w.gif' has none of them."_s;
        QTest::newRow("an escape sequence and a right-to-left override, echoed escaped")
            << u"--frequency mid\x1b[31m\u202Edle -o w.png"_s << 2
            << u"--frequency takes higher, high, middle, low or lower, not "
               u"'mid\\x1b[31m\\u202edle'."_s;
        QTest::newRow("a file name without its option")
            << u"w.png"_s << 2 << u"unexpected argument 'w.png': velmora takes only options."_s;
        QTest::newRow("a wavelength without its unit")
            << u"--wavelength 550 -o w.png"_s << 2
            << u"--wavelength '550': The wavelength has no unit: write it with nm, µm (or um) or "
               u"mm, from 5 nm to 20 µm, for example \"550 nm\"."_s;
        QTest::newRow("a negative wavelength, not taken for an option")
            << u"--wavelength -600nm -o w.svg"_s << 2
            << u"--wavelength '-600nm': The wavelength -600 nm is out of range: it must be from "
               u"5 nm to 20 µm."_s;
        QTest::newRow("a distance of zero")
            << u"--detector-distance 0mm -o w.png"_s << 2
            << u"--detector-distance '0mm': The detector distance 0 mm is out of range: it must be "
               u"from 1.2 µm to 13.2 µm."_s;
    }
    void options() {
        QFETCH(QString, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        Sandbox box;
        const Run run = box.velmora(arguments.split(u' '));
        QCOMPARE(run.status, status);
        if (status == 0) {
            QVERIFY2(run.out.startsWith(message), qPrintable(run.out));
            QCOMPARE(run.err, QString());
        } else {
            QCOMPARE(run.err, u"velmora: %1\nUsage: velmora [options] (see velmora --help)\n"_s.arg(
                                  message));
            QCOMPARE(run.out, QString());
        }
        QCOMPARE(box.written(), QStringList());
    }

    void formats_data() {
        QTest::addColumn<QString>("arguments"); // the last names the file, "-" standard output
        QTest::addColumn<QSize>("size");        // of the picture
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("fi");
        QTest::addColumn<QString>("distance");
        QTest::newRow("PNG") << u"-o w.png"_s << QSize(765, 560) << u"C"_s << 0.6 << u"350"_s;
        QTest::newRow("PNG at scale 3")
            << u"--scale 3 --output w.PNG"_s << QSize(2295, 1680) << u"C"_s << 0.6 << u"350"_s;
        QTest::newRow("SVG") << u"-o w.svg"_s << QSize(765, 560) << u"C"_s << 0.6 << u"350"_s;
        QTest::newRow("JPEG, named in capitals")
            << u"-o w.JPG"_s << QSize(765, 560) << u"C"_s << 0.6 << u"350"_s;
        QTest::newRow("BMP") << u"-o w.bmp"_s << QSize(765, 560) << u"C"_s << 0.6 << u"350"_s;
        QTest::newRow("WebP") << u"-o w.webp"_s << QSize(765, 560) << u"C"_s << 0.6 << u"350"_s;
        QTest::newRow("CSV") << u"--intensities bars.csv"_s << QSize() << u"C"_s << 0.6 << u"350"_s;
        QTest::newRow("CSV on standard output, lower, 400, decimal comma locale")
            << u"--frequency lower --distance 400 --intensities -"_s << QSize() << u"cs_CZ.UTF-8"_s
            << 0.03 << u"400"_s;
    }
    void formats() {
        QFETCH(QString, arguments);
        QFETCH(QSize, size);
        QFETCH(QString, locale);
        QFETCH(double, fi);
        QFETCH(QString, distance);
        Sandbox box;
        const Run run = box.velmora(arguments.split(u' '), {u"LC_ALL="_s + locale});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        const QString file = arguments.section(u' ', -1);
        QCOMPARE(box.written(), file == u"-" ? QStringList() : QStringList{file});
        const QString path = box.inCwd(file);
        QFile content(path);
        QVERIFY(file == u"-" || content.open(QIODevice::ReadOnly));
        if (size.isEmpty()) {
            verifyCsv(file == u"-" ? run.out.toUtf8() : content.readAll(),
                      expectedColumns(fi, distance, QLocale(locale)));
        } else if (file.endsWith(u".svg")) {
            QSvgRenderer svg(path);
            QVERIFY(svg.isValid());
            QCOMPARE(svg.viewBox().size(), size);
            QVERIFY(content.readAll().contains(">Start</text>")); // captions stay text
        } else {
            QImageReader image(path);
            image.setDecideFormatFromContent(true); // what it holds, whatever its name says
            QCOMPARE(QString::fromLatin1(image.format()),
                     file.section(u'.', -1).toLower().replace(u"jpg"_s, u"jpeg"_s));
            QCOMPARE(image.read().size(), size);
        }
    }

    // A name that is not UTF-8 is the very name written, not one a conversion made of it.
    void namesKeptAsBytes_data() {
        QTest::addColumn<QByteArrayList>("arguments"); // TMPDIR is a folder t\xff
        QTest::addColumn<QByteArray>("name");          // how the one file written ends
        QTest::newRow("--output") << QByteArrayList{"-o", "\xff\xfe.png"} << "/\xff\xfe.png"_ba;
        QTest::newRow("--intensities")
            << QByteArrayList{"--intensities", "\xff.csv"} << "/\xff.csv"_ba;
        QTest::newRow("TMPDIR") << QByteArrayList() << ".png"_ba;
    }
    void namesKeptAsBytes() {
        QFETCH(QByteArrayList, arguments);
        QFETCH(QByteArray, name);
        Sandbox box;
        namespace fs = std::filesystem;
        const fs::path cwd = box.cwd.path().toStdString(),
                       tmp = box.tmp.path().toStdString() + "/t\xff";
        QVERIFY(fs::create_directory(tmp));
        const auto removed = qScopeGuard([&] { // QTemporaryDir cannot remove what it cannot name
            fs::remove_all(cwd);
            fs::remove_all(tmp);
        });
        const Run run = box.velmoraInBytes(arguments, {"TMPDIR=" + QByteArray(tmp.c_str())});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        QByteArrayList written;
        for (const fs::path& folder : {cwd, tmp}) {
            for (const fs::directory_entry& entry : fs::directory_iterator(folder))
                written << QByteArray(entry.path().c_str());
        }
        QCOMPARE(written.size(), 1);
        QVERIFY2(written[0].endsWith(name), written[0].toHex().constData());
        // The path printed shows the byte as it is.
        QVERIFY2(!arguments.isEmpty() || run.out.contains(u"/t\\xff/velmora-"),
                 qPrintable(run.out));
    }

    // Two outputs in one file would leave only the last; the folder decides, not the spelling.
    void twoOutputs_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QStringList>("written"); // none when refused
        QTest::newRow("one name for both") << u"-o same --intensities same"_s << QStringList();
        QTest::newRow("one name spelled two ways")
            << u"-o same.png --intensities ./same.png"_s << QStringList();
        QTest::newRow("one name in two folders") << u"-o same.png --intensities sub/same.png"_s
                                                 << QStringList{u"same.png"_s, u"sub/same.png"_s};
        QTest::newRow("two names in one folder")
            << u"-o w.png --intensities w.csv"_s << QStringList{u"w.png"_s, u"w.csv"_s};
    }
    void twoOutputs() {
        QFETCH(QString, arguments);
        QFETCH(QStringList, written);
        Sandbox box;
        QVERIFY(QDir(box.cwd.path()).mkdir(u"sub"_s));
        const Run run = box.velmora(arguments.split(u' '));
        QCOMPARE(run.status, written.isEmpty() ? 2 : 0);
        QVERIFY2(written.isEmpty() == run.err.contains(u"name the same file"), qPrintable(run.err));
        for (const QString& file : written)
            QVERIFY2(QFileInfo(box.inCwd(file)).size() > 0, qPrintable(file));
        QVERIFY(!written.isEmpty() || box.written() == QStringList{u"sub"_s});
    }

    // Painted from the form's table without a widget, the picture is the window after the same
    // run, pixel for pixel.
    void pictureIsTheWindow_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QStringList>("options"); // the option buttons they select
        QTest::addColumn<double>("aperture");     // twips, set in the Explore panel; 0: closed
        QTest::newRow("defaults") << u"-o w.png"_s << QStringList() << 0.0;
        QTest::newRow("lower, 400") << u"--frequency lower --distance 400 -o w.png"_s
                                    << QStringList{u"op003"_s, u"opV400"_s} << 0.0;
        QTest::newRow("Explore's aperture with the theory curve, at high")
            << u"--frequency high --aperture 4.377um --theory -o w.png"_s << QStringList{u"op1"_s}
            << 1000.0;
    }
    void pictureIsTheWindow() {
        QFETCH(QString, arguments);
        QFETCH(QStringList, options);
        QFETCH(double, aperture);
        Sandbox box;
        const Run run = box.velmora(arguments.split(u' '));
        QVERIFY2(run.status == 0, qPrintable(run.err));
        frmVelmora window;
        for (const QString& option : options)
            window.findChild<QRadioButton*>(option)->setChecked(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        if (aperture > 0) {
            window.openExplore();
            window.explorePanel()->setValue(velmora::Quantity::ApertureWidth, aperture);
            window.explorePanel()->theoryCurve()->setChecked(true);
            // The window as the file shows it: active, with the focus on Start.
            window.activateWindow();
            QVERIFY(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
        }
        window.cmdStart_Click();
        const QImage file = QImage(box.inCwd(u"w.png"_s)).convertToFormat(QImage::Format_RGB32);
        QVERIFY(file == window.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    // The intensities need no window system: a platform that does not exist does not matter.
    void intensitiesWithoutAPlatform() {
        Sandbox box;
        const Run run =
            box.velmora({u"--intensities"_s, u"-"_s}, {u"QT_QPA_PLATFORM=nonexistent"_s});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        verifyCsv(run.out.toUtf8(), expectedColumns(0.6, u"350"_s, QLocale::c()));
    }

    // Explore's lengths: the preset's own give its bars exactly, free ones the core's run of
    // them, bars and theory curve on the one scale fitted to them.
    void exploreIntensities_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QList<double>>("values"); // nm; none: the preset's run, middle at 350
        QTest::newRow("middle/350's values")
            << u"--wavelength 550nm --aperture 8.754um --detector-distance 8.754um"_s
            << QList<double>();
        QTest::newRow("free, in a decimal comma locale")
            << u"--wavelength 600nm --aperture 5um --detector-distance 10um"_s
            << QList<double>{600, 5000, 10000};
    }
    void exploreIntensities() {
        QFETCH(QString, arguments);
        QFETCH(QList<double>, values);
        Sandbox box;
        const Run run = box.velmora(arguments.split(u' ') + QStringList{u"--intensities"_s, u"-"_s},
                                    {u"LC_ALL=cs_CZ.UTF-8"_s});
        QVERIFY2(run.status == 0, qPrintable(run.err));
        velmora::ExploreSettings explore;
        if (!values.isEmpty())
            explore.parameters = velmora::exploreParameters(
                {velmora::nanometresToTwips(values[0]), velmora::nanometresToTwips(values[1]),
                 velmora::nanometresToTwips(values[2])});
        verifyCsv(run.out.toUtf8(), expectedColumns(0.6, u"350"_s, QLocale::c(), explore));
    }

    // A write that fails is status 1 with the path and the system's reason; an earlier file of
    // that name stays as it was, and no temporary is left beside it.
    void failedWrites_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("limit");              // file size limit in KiB; 0 for none
        QTest::addColumn<QString>("standardOutput"); // where it goes; empty for a pipe
        QTest::addColumn<QString>("message");
        QTest::newRow("CSV past the size limit") << u"--intensities old.csv"_s << 2 << QString()
                                                 << u"cannot write old.csv: File too large"_s;
        QTest::newRow("SVG past the size limit")
            << u"-o old.svg"_s << 20 << QString() << u"cannot write old.svg: File too large"_s;
        QTest::newRow("PNG past the size limit")
            << u"-o old.png"_s << 10 << QString() << u"cannot write old.png: File too large"_s;
        QTest::newRow("CSV to a full device")
            << u"--intensities /dev/full"_s << 0 << QString()
            << u"cannot write /dev/full: No space left on device"_s;
        QTest::newRow("CSV on standard output, a full device")
            << u"--intensities -"_s << 0 << u"/dev/full"_s
            << u"cannot write the intensities to standard output: No space left on device"_s;
    }
    void failedWrites() {
        QFETCH(QString, arguments);
        QFETCH(int, limit);
        QFETCH(QString, standardOutput);
        QFETCH(QString, message);
        Sandbox box;
        const QString earlier = arguments.section(u' ', -1);
        const bool file = earlier.startsWith(u"old");
        if (file) {
            QFile f(box.inCwd(earlier));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("earlier") == 7);
        }
        const Run run = box.velmora(arguments.split(u' '), {},
                                    limit ? rlim_t(limit) * 1024 : RLIM_INFINITY, standardOutput);
        QCOMPARE(run.err, u"velmora: %1\n"_s.arg(message));
        QCOMPARE(run.status, 1);
        QCOMPARE(box.written(), file ? QStringList{earlier} : QStringList());
        QFile kept(box.inCwd(earlier));
        QVERIFY(!file || (kept.open(QIODevice::ReadOnly) && kept.readAll() == "earlier"));
    }

    // The README's picture is what the program draws now; ./dev picture redraws it. Drawn with
    // the Liberation fonts, as Debian maps Arial and Times New Roman; other fonts draw other
    // captions.
    void committedPicture() {
        if (QFontInfo(QFont(u"Arial"_s)).family() != u"Liberation Sans")
            QSKIP("Arial is not Liberation Sans here");
        Sandbox box;
        QCOMPARE(box.velmora({u"-o"_s, u"now.png"_s}).status, 0);
        const QImage now = QImage(box.inCwd(u"now.png"_s)).convertToFormat(QImage::Format_RGB32);
        const QImage committed = QImage(QStringLiteral(VELMORA_SOURCE_DIR "/docs/velmora.png"))
                                     .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(committed.size(), now.size());
        // A pixel or two may go another way where a build rounds a coordinate differently.
        int differing = 0;
        for (int y = 0; y < now.height(); ++y) {
            for (int x = 0; x < now.width(); ++x) {
                const QRgb a = now.pixel(x, y), b = committed.pixel(x, y);
                differing += std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)),
                                       qAbs(qBlue(a) - qBlue(b))}) > 64;
            }
        }
        QVERIFY2(differing <= 8,
                 qPrintable(u"%1 pixels of docs/velmora.png differ from what the "
                            u"program draws: ./dev picture redraws it"_s.arg(differing)));
    }

    // A link planted where the program writes is neither followed nor replaced.
    void plantedLinks_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("link"); // in the working folder, or $TMPDIR/…
        QTest::addColumn<int>("status");
        QTest::newRow("--output") << u"-o w.png"_s << u"w.png"_s << 1;
        QTest::newRow("--intensities") << u"--intensities bars.csv"_s << u"bars.csv"_s << 1;
        QTest::newRow("no display, at the name once used in TMPDIR")
            << QString() << u"$TMPDIR/velmora-window.png"_s << 0;
    }
    void plantedLinks() {
        QFETCH(QString, arguments);
        QFETCH(QString, link);
        QFETCH(int, status);
        Sandbox box;
        QTemporaryDir victim;
        const QString target = QDir(victim.path()).filePath(u"precious"_s);
        QFile precious(target);
        QVERIFY(precious.open(QIODevice::WriteOnly) && precious.write("precious") == 8);
        precious.close();
        link.replace(u"$TMPDIR"_s, box.tmp.path());
        QVERIFY(QFile::link(target, box.inCwd(link)));

        const Run run = box.velmora(arguments.split(u' ', Qt::SkipEmptyParts));
        QCOMPARE(run.status, status);
        QCOMPARE(QFileInfo(box.inCwd(link)).symLinkTarget(), target);
        QVERIFY(precious.open(QIODevice::ReadOnly));
        QCOMPARE(precious.readAll(), "precious");
        if (status != 0) {
            QVERIFY2(run.err.contains(u"is a symbolic link"), qPrintable(run.err));
            QCOMPARE(box.written(), QStringList{link});
            return;
        }
        // The picture went to a new file of its own, whose path was printed.
        const QStringList pictures =
            QDir(box.tmp.path())
                .entryList({u"velmora-??????.png"_s}, QDir::Files | QDir::NoSymLinks);
        QCOMPARE(pictures.size(), 1);
        const QString picture = QDir(box.tmp.path()).filePath(pictures[0]);
        QVERIFY2(run.out.contains(picture), qPrintable(run.out));
        QCOMPARE(QImage(picture, "png").size(), QSize(765, 560));
    }

    // Said in one line that points to --output, with status 1 and nothing written; no abort.
    void unusableSurroundings_data() {
        QTest::addColumn<QString>("variables");
        QTest::addColumn<QString>("message"); // part of it
        const QString wayland = u"WAYLAND_DISPLAY=/nonexistent/wayland-0"_s;
        QTest::newRow("X11 display without a server")
            << u"DISPLAY=:97"_s << u"cannot open the display \":97\" (DISPLAY);"_s;
        QTest::newRow("Wayland display without a compositor")
            << wayland << u"display \"/nonexistent/wayland-0\" (WAYLAND_DISPLAY);"_s;
        QTest::newRow("both") << u"DISPLAY=:97 "_s + wayland
                              << u"\":97\" (DISPLAY) or \"/nonexistent/wayland-0\""_s;
        QTest::newRow("no display, and TMPDIR missing")
            << u"TMPDIR=/nonexistent/tmp"_s << u"/nonexistent/tmp (TMPDIR) does not exist"_s;
        // Without XDG_RUNTIME_DIR Qt would make a folder of its own in TMPDIR, and warn first.
        QTest::newRow("no display, and TMPDIR a file")
            << u"XDG_RUNTIME_DIR= TMPDIR=" VELMORA_BINARY ""_s
            << u"velmora (TMPDIR) is a file, not a folder;"_s;
        QTest::newRow("no display, and TMPDIR not writable")
            << u"XDG_RUNTIME_DIR= TMPDIR=$LOCKED"_s
            << u"cannot create a picture file in the temporary folder $LOCKED (TMPDIR): "
               u"Permission denied;"_s;
        QTest::newRow("an escape sequence in DISPLAY, echoed escaped")
            << u"DISPLAY=:97\x1b[2J"_s << u"display \":97\\x1b[2J\" (DISPLAY)"_s;
        QTest::newRow("an escape sequence in a missing TMPDIR, echoed escaped")
            << u"TMPDIR=/nonexistent/\x1b[2J"_s << u"/nonexistent/\\x1b[2J (TMPDIR) does not"_s;
    }
    void unusableSurroundings() {
        QFETCH(QString, variables);
        QFETCH(QString, message);
        if (QFileInfo::exists(u"/tmp/.X11-unix/X97"_s))
            QSKIP("an X server listens on :97");
        Sandbox box;
        // Its TMPDIR made read-only; root can write to any folder, so it runs as nobody then.
        const bool unprivileged = variables.contains(u"$LOCKED");
        if (unprivileged) {
            QVERIFY(QFile::setPermissions(box.tmp.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                              QFile::ReadOther | QFile::ExeOther));
            variables.replace(u"$LOCKED"_s, box.tmp.path());
            message.replace(u"$LOCKED"_s, box.tmp.path());
        }
        const Run run =
            box.velmoraInBytes({}, utf8(variables.split(u' ')), RLIM_INFINITY, {}, unprivileged);
        if (run.status == 77)
            QSKIP("the build lies in a folder nobody cannot reach");
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.startsWith(u"velmora: ") && run.err.count(u'\n') == 1 &&
                     run.err.endsWith(u'\n') && run.err.contains(message) &&
                     run.err.contains(u"--output FILE"),
                 qPrintable(run.err));
        QCOMPARE(run.out, QString());
        QCOMPARE(box.written(), QStringList());
    }
};

QTEST_MAIN(TestCli)
#include "tst_cli.moc"
