#include "maintenance/transfer.h"

#include "core/dm.h"
#include "core/global.h"
#include "core/myunit.h"
#include "lists/handoff.h"
#include "platform/aliases.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/sysutils.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <numeric>

namespace {
const QString SourceTable = QStringLiteral("Kelmo.DBF");

enum class Rule {
    Copied, // text, cut to the target's width by the store
    Digits, // only the digits of the text
    Filled, // whether the text is not empty
    Whole,  // memo text as it stands
    Bytes,  // picture bytes as they stand
    Flag,   // the source true/false
};
enum Versions { Both, FirstOnly, SecondOnly };

struct Mapping {
    const char *target;
    const char *source;
    Rule rule;
    Versions versions = Both;
};

// The member row in the order its fields are set; a source of nullptr stores false.
const Mapping MasterFields[] = {
    {"Name", "NAME", Rule::Copied},   {"Hname", "NAME", Rule::Copied},
    {"X", "X", Rule::Copied},         {"Bday", "DAY", Rule::Digits},
    {"L", "L", Rule::Copied},         {"G", nullptr, Rule::Flag, FirstOnly},
    {"G", "GEN", Rule::Flag, SecondOnly},
    {"Tel1", "TEL", Rule::Copied},    {"Hp", "HP", Rule::Copied},
    {"Addr1", "ADDR", Rule::Copied},  {"Zip", "ZIP", Rule::Digits},
    {"Learn", "LEARN", Rule::Copied}, {"Major", "MAJOR", Rule::Copied},
    {"Email", "EMAIL", Rule::Copied}, {"Pic", "PIC", Rule::Bytes},
    {"Fmemo", "FMEMO", Rule::Whole},  {"Reg", "REG", Rule::Digits},
    {"R", "REG", Rule::Filled},       {"Cur", "CUR", Rule::Copied},
    {"Zone", "GYO", Rule::Copied},    {"Area", "AREA", Rule::Copied},
    {"Duty1", "DUTY", Rule::Copied},  {"Bigo", "DUTY2", Rule::Copied, SecondOnly},
    {"Part", "PART", Rule::Copied},   {"Serve", "SERVE", Rule::Copied},
    {"Std", "STD", Rule::Digits},     {"S", "STD", Rule::Filled},
    {"Bap", "BAP", Rule::Digits},     {"B", "BAP", Rule::Filled},
    {"Cmemo", "MEMO", Rule::Whole},   {"Job", "JPLACE", Rule::Copied},
    {"Jpart", "JPART", Rule::Copied}, {"Jduty", "JDUTY", Rule::Copied},
    {"Jtel", "JTEL", Rule::Copied},   {"Jfax", "JFAX", Rule::Copied},
    {"Jaddr1", "JADDR", Rule::Copied}, {"Jzip", "JZIP", Rule::Digits},
    {"Jmemo", "JMEMO", Rule::Whole},
};

bool inVersion(const Mapping &m, bool second)
{
    return m.versions == Both || (m.versions == SecondOnly) == second;
}

// The family slot i is the five fields named by these letters and i.
const char SlotFields[] = {'N', 'R', 'J', 'C', 'M'};

QString name(const char *latin1)
{
    return QString::fromLatin1(latin1);
}

// The first refused records the messages list; the file holds them all.
constexpr int RefusedShown = 10;

// The refused records as rows the lists' text export writes: number, name, cause.
class RefusedRows : public Dataset {
public:
    explicit RefusedRows(const QList<TfrmTransfer::Refused> &rows) : Dataset(nullptr), m_rows(rows) {}

protected:
    QVector<qint64> loadView() override
    {
        QVector<qint64> ids(m_rows.size());
        std::iota(ids.begin(), ids.end(), 0);
        return ids;
    }
    QVector<QVariant> fetchRow(qint64 id) override
    {
        const TfrmTransfer::Refused &r = m_rows.at(id);
        return {QStringLiteral("%1번째").arg(r.row), r.name, r.cause};
    }
    QList<FieldDef> describeFields() override
    {
        QList<FieldDef> defs(3);
        defs[0].name = QStringLiteral("Row");
        defs[1].name = QStringLiteral("Name");
        defs[2].name = QStringLiteral("Cause");
        return defs;
    }

private:
    const QList<TfrmTransfer::Refused> &m_rows;
};

QFont pixelFont(const QString &family, int pixels)
{
    QFont f(family);
    f.setPixelSize(pixels);
    return f;
}

QPalette colours(QWidget *w, const QColor &background, const QColor &text)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    return p;
}
} // namespace

struct TfrmTransfer::Targets {
    explicit Targets(Database &db)
        : master(db, QStringLiteral("MASTER")), family(db, QStringLiteral("FAMILY")), visit(db, QStringLiteral("VISIT"))
    {
    }
    void cancel()
    {
        master.cancel();
        family.cancel();
        visit.cancel();
    }
    TableAppender master, family, visit;
};

TfrmTransfer::TfrmTransfer(const Version &version, QWidget *parent) : TForm(parent), m_version(version)
{
    setObjectName(QStringLiteral("frmTrans"));
    setWindowTitle(QStringLiteral("데이타 변환 [%1->3.0]").arg(version.number));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(pixelFont(QStringLiteral("굴림체"), 13));
    setFixedSize(632, 453);

    Panel1 = new QLabel(QStringLiteral("%1 데이타 내용").arg(version.number), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFixedHeight(41);
    Panel1->setAutoFillBackground(true);
    Panel1->setPalette(colours(Panel1, QColor(0, 0, 128), Qt::yellow));
    Panel1->setFont(pixelFont(QStringLiteral("굴림체"), 27));

    grdData = new DBGrid(this);
    grdData->setObjectName(QStringLiteral("grdData"));
    grdData->setDataSource(&dsData);
    grdData->verticalHeader()->show(); // the row indicator
    grdData->verticalHeader()->setDefaultSectionSize(grdData->fontMetrics().height() + 6);

    pnlBtn = new QFrame(this);
    pnlBtn->setObjectName(QStringLiteral("pnlBtn"));
    pnlBtn->setFixedHeight(37);
    pnlBtn->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pnlBtn->setAutoFillBackground(true);
    pnlBtn->setPalette(colours(pnlBtn, QColor(0, 128, 128), Qt::yellow));
    sbtnHelp = new QToolButton(pnlBtn);
    sbtnHelp->setObjectName(QStringLiteral("sbtnHelp"));
    sbtnHelp->setAutoRaise(true);
    sbtnHelp->setText(QStringLiteral("?"));
    sbtnHelp->setEnabled(false);
    Label1 = new QLabel(QStringLiteral("%1의 데이타를 3.0의 데이타로 변환하여 추가합니다.\n추가는 한번만 수행하면 됩니다.")
                            .arg(version.number),
                        pnlBtn);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(pixelFont(QStringLiteral("굴림"), 13));
    // Takes the note's place while the copy runs: the window answers nothing else meanwhile.
    prgCopy = new QProgressBar(pnlBtn);
    prgCopy->setObjectName(QStringLiteral("prgCopy"));
    prgCopy->hide();
    btnStart = new QPushButton(QStringLiteral("변환 시작"), pnlBtn);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    bbtnCancel = new QPushButton(QStringLiteral("취소(&C)"), pnlBtn);
    bbtnCancel->setObjectName(QStringLiteral("bbtnCancel"));
    setCancelButton(bbtnCancel);
    auto *buttons = new QHBoxLayout(pnlBtn);
    buttons->setContentsMargins(4, 2, 4, 2);
    buttons->addWidget(sbtnHelp);
    buttons->addWidget(Label1, 1);
    buttons->addWidget(prgCopy, 1);
    buttons->addWidget(btnStart);
    buttons->addWidget(bbtnCancel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(grdData, 1);
    layout->addWidget(pnlBtn);

    connect(btnStart, &QPushButton::clicked, this, GuardedSlot(this, &TfrmTransfer::btnStartClick));
    connect(bbtnCancel, &QPushButton::clicked, this, [this] { setModalResult(mrCancel); });
    FormCreate();
}

TfrmTransfer::~TfrmTransfer() = default;

void TfrmTransfer::FormCreate()
{
    // A table that cannot be read throws from here: the caller reports it and no window opens.
    tbData.setFileName(FindFileNoCase(AliasConfig().AliasPath(m_version.alias), SourceTable));
    tbData.open();
    const QString file = QFileInfo(tbData.fileName()).fileName();
    QStringList notes;
    const DbaseFile &table = *tbData.file();
    const QStringList missing = missingFields();
    if (!missing.isEmpty()) // nothing of the file goes in: a stale count would only promise it does
        notes << QStringLiteral("[%1] 파일에 변환에 필요한 필드가 없습니다: %2\n이 파일의 자료는 변환할 수 없습니다.")
                     .arg(file, missing.join(QStringLiteral(", ")));
    else if (table.recordsInFile() > table.recordsInHeader())
        notes << QStringLiteral("[%1] 파일의 머리에는 자료가 %2건으로 적혀 있으나 파일에는 %3건이 들어 있습니다.\n"
                                "파일에 들어 있는 자료를 모두 보여 드리고 변환합니다.")
                     .arg(file)
                     .arg(table.recordsInHeader())
                     .arg(table.recordsInFile());
    const bool odd = !notes.isEmpty();
    if (missing.isEmpty() && tbData.isEmpty())
        notes << QStringLiteral("변환할 데이타가 한건도 없습니다.");
    btnStart->setEnabled(missing.isEmpty() && !tbData.isEmpty());
    if (!notes.isEmpty()) // one box, before the window shows
        MessageBox(notes.join(QStringLiteral("\n\n")), {}, MsgButtons::Ok, odd ? MsgIcon::Warning : MsgIcon::None);
}

QStringList TfrmTransfer::missingFields()
{
    QStringList read;
    for (const Mapping &m : MasterFields)
        if (m.source && inVersion(m, m_version.second))
            read << name(m.source);
    for (int slot = 1; slot <= 5; ++slot)
        for (char field : SlotFields)
            read << QLatin1Char(field) + QString::number(slot);
    read << QStringLiteral("VISIT");
    read.removeDuplicates();
    QStringList missing;
    for (const QString &field : std::as_const(read))
        if (!tbData.findField(field))
            missing << field;
    return missing;
}

bool TfrmTransfer::FormCloseQuery()
{
    return !m_importing;
}

void TfrmTransfer::FormClose()
{
    tbData.close();
}

QString TfrmTransfer::DigitsOnly(const QString &text)
{
    QString digits;
    for (QChar c : text)
        if (c >= u'0' && c <= u'9')
            digits += c;
    return digits;
}

void TfrmTransfer::btnStartClick()
{
    if (MessageBox(QStringLiteral("변환하시겠습니까?"), QStringLiteral("데이타 변환"), MsgButtons::YesNo,
                   MsgIcon::Question) != IDYES)
        return;
    const Outcome outcome = copyAll();
    const int imported = outcome.imported, refused = int(outcome.refused.size());
    if (imported == 0) {
        // Nothing was stored and the import is still offered: the user may mend the file first.
        reportRefused(QStringLiteral("자료를 한 건도 변환하지 못하여 아무것도 추가하지 않았습니다.\n변환하지 못한 자료 %1건")
                          .arg(refused),
                      outcome.refused);
        return;
    }
    const QString done = QStringLiteral("변환이 완료되었습니다.\n데이타 변환을 종료합니다.\n\n변환한 자료 %1건, 변환하지 못한 자료 %2건")
                             .arg(imported)
                             .arg(refused);
    if (refused == 0)
        ShowMessage(done);
    else
        reportRefused(done, outcome.refused);
    setModalResult(mrOk); // the main window hides the item once the alias is gone
}

void TfrmTransfer::reportRefused(const QString &summary, const QList<Refused> &refused)
{
    QString text = summary + QStringLiteral("\n\n변환하지 못한 자료:");
    for (const Refused &r : refused.first(std::min<qsizetype>(refused.size(), RefusedShown)))
        text += QStringLiteral("\n%1번째 %2: %3").arg(r.row).arg(r.name, r.cause);
    if (refused.size() > RefusedShown)
        text += QStringLiteral("\n… 외 %1건").arg(refused.size() - RefusedShown);
    text += QStringLiteral("\n\n변환하지 못한 자료의 목록을 파일로 저장하시겠습니까?");
    if (MessageBox(text, QStringLiteral("데이타 변환"), MsgButtons::YesNo, MsgIcon::Warning) != IDYES)
        return;
    RefusedRows rows(refused);
    rows.open();
    resulthandoff::Save(rows);
}

TfrmTransfer::Outcome TfrmTransfer::copyAll()
{
    struct Busy {
        TfrmTransfer &w;
        explicit Busy(TfrmTransfer &w) : w(w)
        {
            w.m_importing = true;
            w.btnStart->setEnabled(false);
            w.bbtnCancel->setEnabled(false);
            w.Label1->hide();
            w.prgCopy->setRange(0, w.tbData.recordCount());
            w.prgCopy->setValue(0);
            w.prgCopy->show();
            w.tbData.disableControls(); // the bar shows the progress; a grid scrolling along costs
        }
        ~Busy()
        {
            w.tbData.enableControls();
            w.m_importing = false;
            w.prgCopy->hide();
            w.Label1->show();
            w.btnStart->setEnabled(true);
            w.bbtnCancel->setEnabled(true);
        }
    } busy(*this);

    Database &db = frmDM->dbKelmo;
    // One transaction: a failure outside a record leaves the register as it was, so a second run
    // cannot copy anyone twice.
    Transaction import(db);
    m_targets = std::make_unique<Targets>(db);
    QDateTime minute = Clock::now(); // taken once: a long copy keeps the minute it started in
    QString prefix = FormatDateTime(QStringLiteral("yymmddhhnn"), minute);
    RunningNumber = nextRunningNumber(prefix);
    Outcome outcome;
    QElapsedTimer shown;
    shown.start();
    int done = 0;
    for (tbData.first(); !tbData.eof(); tbData.next()) {
        // Four places hold 9999 at most: further members go on under the next minute's prefix,
        // after whatever numbers that minute already has, so numbers stay unique and 14 wide.
        while (RunningNumber > 9999) {
            minute = minute.addSecs(60);
            prefix = FormatDateTime(QStringLiteral("yymmddhhnn"), minute);
            RunningNumber = nextRunningNumber(prefix);
        }
        const std::optional<QString> cause =
            TransferRecord(prefix + FormatIntByMask(RunningNumber, QStringLiteral("@0 ####")));
        if (cause)
            outcome.refused << Refused{done + 1, tbData.fieldByName(QStringLiteral("NAME")).asString(), *cause};
        else
            ++outcome.imported;
        ++RunningNumber;
        ++done;
        if (shown.elapsed() >= 50) {
            prgCopy->setValue(done);
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            shown.restart();
        }
    }
    prgCopy->setValue(done);
    m_targets.reset();
    if (outcome.imported == 0)
        return outcome; // rolled back: nothing to keep, and the import stays offered
    // The alias goes before the commit: members stored while the import is still offered would be
    // copied again by a second run. A commit that fails puts it back.
    AliasConfig aliases;
    const QString path = aliases.AliasPath(m_version.alias);
    aliases.DeleteAlias(m_version.alias);
    try {
        import.commit();
    } catch (...) {
        aliases.AddAlias(m_version.alias, path);
        throw;
    }
    return outcome;
}

int TfrmTransfer::nextRunningNumber(const QString &prefix)
{
    Query &q = frmDM->qrMax;
    // Only numbers as the import makes them: a number entered by hand in that minute,
    // prefix + seconds, is shorter but sorts above them as text.
    SetSQL(q, QStringLiteral("SELECT MAX(INO) M FROM MASTER WHERE INO GLOB ") +
                  Quote(prefix + QStringLiteral("[0-9][0-9][0-9][0-9]")));
    q.open();
    const QString m = q.fieldByName(QStringLiteral("M")).asString();
    return m.isEmpty() ? 0 : NumberTextToInt(m.mid(10, 4)) + 1;
}

std::optional<QString> TfrmTransfer::TransferRecord(const QString &ino)
{
    Database &db = frmDM->dbKelmo;
    if (!m_targets)
        m_targets = std::make_unique<Targets>(db);
    Transaction record(db);
    QString cause;
    try {
        copyRecord(ino);
        record.commit();
        return std::nullopt;
    } catch (const DbError &e) {
        if (e.kind() == DbError::Damaged || e.kind() == DbError::Busy)
            throw; // not this record's fault: every further record would fail alike
        cause = e.message();
    } catch (const std::exception &e) {
        cause = QString::fromUtf8(e.what());
    }
    m_targets->cancel(); // no half-filled row is left for the next record
    cause.replace(u'\n', u' ');
    return cause;
}

void TfrmTransfer::copyRecord(const QString &ino)
{
    const auto text = [this](const QString &field) { return tbData.fieldByName(field).asString(); };
    TableAppender &master = m_targets->master;
    master.setValue(QStringLiteral("Ino"), ino);
    for (const Mapping &m : MasterFields) {
        if (!inVersion(m, m_version.second))
            continue;
        QVariant v;
        switch (m.rule) {
        case Rule::Copied:
        case Rule::Whole: v = text(name(m.source)); break;
        case Rule::Digits: v = DigitsOnly(text(name(m.source))); break;
        case Rule::Filled: v = !text(name(m.source)).isEmpty(); break;
        case Rule::Bytes: v = tbData.bytes(name(m.source)); break;
        case Rule::Flag: v = m.source && tbData.fieldByName(name(m.source)).asBoolean(); break;
        }
        master.setValue(name(m.target), v);
    }
    master.post();

    // Empty slots leave no row and no gap in the numbering.
    int seq = 1;
    for (int slot = 1; slot <= 5; ++slot) {
        const auto slotText = [&](char field) { return text(QLatin1Char(field) + QString::number(slot)); };
        const QString familyName = slotText('N');
        if (familyName.isEmpty())
            continue;
        TableAppender &family = m_targets->family;
        family.setValue(QStringLiteral("Ino"), ino);
        family.setValue(QStringLiteral("Seq"), seq++);
        family.setValue(QStringLiteral("Rel"), slotText('R'));
        family.setValue(QStringLiteral("Name"), familyName);
        family.setValue(QStringLiteral("Job"), slotText('J'));
        family.setValue(QStringLiteral("R"), tbData.fieldByName(QStringLiteral("C%1").arg(slot)).asBoolean());
        family.setValue(QStringLiteral("F"), false);
        family.setValue(QStringLiteral("Fbigo"), slotText('M'));
        family.post();
    }

    const QString content = text(QStringLiteral("VISIT"));
    if (content.isEmpty())
        return;
    TableAppender &visit = m_targets->visit;
    visit.setValue(QStringLiteral("Ino"), ino);
    visit.setValue(QStringLiteral("Vday"), NowAsText(QStringLiteral("yyyymmdd")));
    visit.setValue(QStringLiteral("Vtime"), NowAsText(QStringLiteral("hhnnss"))); // the field keeps hour and minute
    visit.setValue(QStringLiteral("Leader"), UserName);
    visit.setValue(QStringLiteral("Content"), content);
    visit.post();
}
