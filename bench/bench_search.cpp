// Search figures on a large synthetic register.
//   bench_search [members=100000]
// The detailed search with five ticked conditions, timed through the window (statement, rows and
// the grid painted) against the same statement with the same values stepped on the database
// alone; and the memo search over every kind of memo for a common, a rarer and a missing word.
#include "benchsupport.h"
#include "core/dm.h"
#include "core/global.h"
#include "platform/dialogs.h"
#include "platform/sqltranslate.h"
#include "records/find.h"
#include "records/main.h"
#include "records/memo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

int main(int argc, char **argv)
{
    BenchApp bench(argc, argv);
    const int members = bench.count(1, 100000);
    BenchProgram program;
    if (!program.open(members))
        return 1;
    const GeneratedCounts &c = program.counts;
    std::printf("%d members, %d visits, %d history entries\n", c.members, c.visits, c.studies);
    TfrmDM &dm = program.dm;
    dialogs::setMessageHandler([](const MessageRequest &) { return int(IDOK); });
    const int runs = 5;

    {
        TfrmFind w;
        w.show();
        QApplication::processEvents();
        w.edtName->setText(QStringLiteral("김"));
        w.cbxX->setCurrentText(QStringLiteral("여"));
        w.chkAddr->setChecked(true);
        w.edtAddr->setText(QStringLiteral("서울"));
        w.chkZone->setChecked(true);
        w.chkR->setChecked(true);
        w.mskRs->setText(QStringLiteral("19900101"));
        w.mskRe->setText(QStringLiteral("20201231"));
        w.chkM->setChecked(true);
        std::vector<double> window, direct;
        int rows = 0;
        for (int i = 0; i < runs; ++i) {
            window.push_back(TimedStep([&] { w.bbtnFindClick(); }));
            rows = w.qrFind.recordCount();
            direct.push_back(TimedStep([&] {
                Statement st(dm.dbKelmo, translateSql(w.qrFind.sql(), dm.dbKelmo.catalog()));
                st.bindParameters(w.qrFind.params());
                int n = 0;
                while (st.step()) {
                    for (int c = 0; c < st.columnCount(); ++c)
                        (void)st.column(c);
                    ++n;
                }
                if (n != rows)
                    std::printf("row counts differ: %d and %d\n", n, rows);
            }));
        }
        const double ratio = Median(window) / Median(direct);
        std::printf("detailed search, name + sex + telephone + address, zone, registered, registration range, "
                    "married: %d rows\n  window %.1f ms, statement alone %.1f ms (median of %d), ratio %.2f%s\n",
                    rows, Median(window), Median(direct), runs, ratio, ratio <= 2.0 ? "" : "  ** over 2 **");

        // Every member with a telephone: the largest result the window shows.
        w.edtName->clear();
        w.cbxX->setCurrentIndex(0);
        for (QCheckBox *c : {w.chkAddr, w.chkZone, w.chkR, w.chkM})
            c->setChecked(false);
        w.mskRs->clear();
        w.mskRe->clear();
        const double all = TimedStep([&] { w.bbtnFindClick(); });
        std::printf("detailed search without conditions: %d rows, %.1f ms\n", w.qrFind.recordCount(), all);
    }

    {
        TfrmMemo w;
        w.show();
        QApplication::processEvents();
        for (const char *word : {"기도", "심방", "수술 후", "prayer"}) {
            w.edtText->setText(QString::fromUtf8(word));
            std::vector<double> ms;
            for (int i = 0; i < 3; ++i)
                ms.push_back(TimedStep([&] { w.bbtnFindClick(); }));
            const double m = Median(ms);
            std::printf("memo search \"%s\", all kinds: %d members, %.1f ms%s\n", word, w.qrFind.recordCount(), m,
                        m < 3000 ? "" : "  ** over 3 s **");
        }
    }
    dialogs::setMessageHandler({});
    return 0;
}
