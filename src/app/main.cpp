#include "BankbookWindow.h"
#include "SingleInstance.h"
#include "StartOptions.h"
#include "TerminationSignals.h"
#include "Translations.h"
#include "ledger/DataFolder.h"
#include "views/Controller.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include <csignal>
#include <cstdio>

int main(int argc, char **argv)
{
    // A file size limit makes a write fail with its reason rather than end Moriva unsaid.
    std::signal(SIGXFSZ, SIG_IGN);
    // --version and --help need no display: they are answered before the window's application
    // (which would want one) is made.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (StartOptions::asksForAnswer(arguments)) {
        const QCoreApplication core(argc, argv);
        const Translations translations;
        std::fputs(StartOptions::answer(arguments)->toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Moriva"));
    QApplication::setApplicationName(QStringLiteral("Moriva"));
    QApplication::setApplicationDisplayName(QStringLiteral("Moriva"));
    QApplication::setApplicationVersion(QStringLiteral(MORIVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("moriva"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("moriva"),
                                                 QIcon(QStringLiteral(":/icons/moriva.svg"))));

    const Translations translations;

    // A second "moriva FILE" hands its files to the window that is already open on the same
    // data folder, busy or not (they wait for an import under way): never a second window on
    // the same ledgers. A start that finds the socket just taken by another hands over to it.
    const QStringList files = app.arguments().mid(1);
    const QString dataFolder = DataFolder::defaultPath();
    DataFolder::findOrCreate(dataFolder);
    SingleInstance instance(dataFolder);
    for (int attempt = 0;; ++attempt) {
        const SingleInstance::HandOver handOver = SingleInstance::handOver(dataFolder, files);
        if (handOver == SingleInstance::HandOver::Taken)
            return 0;
        if (handOver == SingleInstance::HandOver::NoAnswer) {
            std::fputs(qPrintable(QCoreApplication::translate(
                           "main", "moriva: Moriva is open on these ledgers but did not take the "
                                   "files; try again.\n")),
                       stderr);
            return 1;
        }
        if (instance.listen() || attempt == 1)
            break;
    }

    Controller controller;
    controller.loadPreferences();
    controller.openDataFolder();
    controller.openLedger();

    BankbookWindow window(&controller);
    window.show();
    window.startUp();

    QObject::connect(&instance, &SingleInstance::filesReceived, &window,
                     [&window](const QStringList &received) {
                         window.setWindowState((window.windowState() & ~Qt::WindowMinimized)
                                               | Qt::WindowActive);
                         window.raise();
                         window.activateWindow();
                         window.importFiles(received);
                     });
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window,
                     &QWidget::close);

    // Files handed to Moriva on its command line are imported once the window is up.
    QTimer::singleShot(0, &window, [&window, files] {
        if (!files.isEmpty())
            window.importFiles(files);
    });
    return app.exec();
}
