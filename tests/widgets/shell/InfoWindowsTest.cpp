#include "core/settings/AppSettings.h"
#include "platform/fake/FakeLoginItem.h"
#include "platform/fake/InMemoryDefaultsStore.h"
#include "widgets/common/EscClosableWindow.h"
#include "widgets/shell/Localization.h"
#include "widgets/shell/OnboardingWindowController.h"

#include <QApplication>
#include <QStackedWidget>

#include <gtest/gtest.h>

TEST(OnboardingWindow, IsAsTallAsItsTallestPageInEveryLanguage)
{
    InMemoryDefaultsStore store;
    FakeLoginItem loginItem;
    AppSettings settings(store, loginItem);
    for (const QString& language : Localization::shippedLanguages()) {
        SCOPED_TRACE(language.toStdString());
        Localization::install(*QCoreApplication::instance(), QLocale(language));
        OnboardingWindowController onboarding(settings, {QStringLiteral("Ctrl+Shift+7"), QStringLiteral("⇧⌘7")}, true,
                                              {});
        onboarding.showWindow();
        QApplication::processEvents();
        QStackedWidget* pages = onboarding.pages();
        int tallest = 0;
        for (int i = 0; i < pages->count(); ++i) {
            const int needed = pages->widget(i)->heightForWidth(pages->width());
            EXPECT_LE(needed, pages->height()) << "page " << i << " is cut off";
            tallest = std::max(tallest, needed);
        }
        EXPECT_GE(tallest, pages->height() - 2) << "even the tallest page leaves empty space below it";
        onboarding.window()->close();
    }
    Localization::install(*QCoreApplication::instance(), QLocale(QStringLiteral("en")));
}
