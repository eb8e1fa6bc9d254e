#include "BankbookWindow.h"
#include "views/Controller.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Moriva"));
    QApplication::setApplicationName(QStringLiteral("Moriva"));
    QApplication::setApplicationVersion(QStringLiteral(MORIVA_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("moriva"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("moriva"),
                                                 QIcon(QStringLiteral(":/icons/moriva.svg"))));

    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Controller controller;
    controller.setupPreferences();
    controller.searchingApplicationSupportDirectory();
    controller.openCurrentBankbookInfoArchive();

    BankbookWindow window(&controller);
    window.show();
    window.startUp();

    // Files handed to Moriva on its command line are imported once the window is up.
    const QStringList files = app.arguments().mid(1);
    QTimer::singleShot(0, &window, [&window, files] {
        for (const QString &file : files)
            window.importFile(file);
    });
    return app.exec();
}
