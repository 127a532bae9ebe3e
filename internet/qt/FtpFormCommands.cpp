// The publishing window's commands.
#include "internet/qt/FtpForm.h"

#include "controls/flat/TFlatGaugeUnit.h"
#include "controls/flat/TFlatMemoUnit.h"
#include "controls/htmllist/HTMListb.h"
#include "internet/FtpSettings.h"
#include "internet/HostName.h"
#include "internet/TextUtil.h"
#include "localisation/RunTimeText.h"
#include "platform/qt/Dialogs.h"
#include "platform/qt/QtText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTime>

namespace {

const TRunTimeText OverwriteFile{"Overwrite %1?"};
const TRunTimeText NotAHostName{
    "\"%1\" is not a host name alone. The Hostname field takes the name or address of the server, such as "
    "ftp.example.com or 127.0.0.1, without \"ftp://\", a folder or a port: the publishing window always connects "
    "to port 21, the FTP port."};
const TRunTimeText ListTooSlow{
    "The remote folder's list was stopped: the server had not sent all of it after %1 seconds, the longest a list "
    "may take. It sends too slowly; try again later."};
const TRunTimeText CouldNotConnect{"Could not connect to the FTP server %1: %2"};
// The state panel.
const TRunTimeText TransferDone{"Transfer successfull"};
const TRunTimeText InvalidHost{"Invalid hostname"};
const TRunTimeText Failure{"Failure!"};
const TRunTimeText ErrorState{"Error : %1"};
const TRunTimeText Connected{"Connected"};
const TRunTimeText Disconnected{"Disconnected"};
const TRunTimeText NotConnected{"* Not connected *"};
const TRunTimeText Retrieving{"Retrieving filelist, one moment please"};
const TRunTimeText Transferring{"Transfering file %1 of %2"};
// The session log, and the calls as it names them.
const TRunTimeText SessionStarted{"Ftp session started"};
const TRunTimeText SessionEnded{"Ftp session ended"};
const TRunTimeText SessionLasted{"Session lasted %1"};
const TRunTimeText Uploaded{"%1 uploaded succesfully"};
const TRunTimeText Downloaded{"%1 Downloaded succesfully"};
const TRunTimeText Deleted{"%1 Deleted succesfully"};
const TRunTimeText NotPlainName{"Refused to download \"%1\": not a plain file name"};
const TRunTimeText ConnectCall{"Connect"};
const TRunTimeText ListCall{"List"};
const TRunTimeText ChangeDirCall{"Change directory"};
const TRunTimeText MakeDirCall{"Make directory"};
const TRunTimeText UploadCall{"%1 upload"};
const TRunTimeText DownloadCall{"%1 download"};
const TRunTimeText DeleteCall{"%1 delete"};
const TRunTimeText NewFolderTitle{"New foldername"};

std::string Now()
{
    return QTime::currentTime().toString("hh:mm:ss").toStdString();
}

// Local paths go to the C library in the file system's own encoding.
std::string FileSystemPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

void Tf_ftp::Log(const std::string& text)
{
    MEMO1->Lines().Add("* " + Now() + " " + text);
}

bool Tf_ftp::Run(const std::string& what, const std::function<void()>& call)
{
    transferIn_ = transferOut_ = 0;
    busy_ = true;
    cancelled_ = false;
    SpeedButton10->setEnabled(true);
    // The panel's text for the way the call ended, and the reason for the log.
    std::string panel = TransferDone();
    std::string reason;
    try {
        call();
    } catch (const EFtpCancelled& e) {
        panel = reason = ErrorText(e);
        cancelled_ = true;
    } catch (const EFtpInvalidHost& e) {
        panel = InvalidHost();
        reason = ErrorText(e);
    } catch (const EFtpRefused& e) {
        panel = Failure();
        reason = ErrorText(e);
    } catch (const EFtpListTimedOut& e) {
        panel = reason = ListTooSlow({std::to_string(e.Limit().count())});
    } catch (const Exception& e) {
        reason = ErrorText(e);
        panel = ErrorState({reason});
    }
    failure_ = reason;
    busy_ = false;
    SpeedButton10->setEnabled(false);
    SetPanel(3, panel);
    // A reason that names the call already says it once.
    if (!reason.empty())
        Log(reason.starts_with(what) ? reason : what + ": " + reason);
    bytesIn_ += transferIn_;
    bytesOut_ += transferOut_;
    transferIn_ = transferOut_ = 0;
    ShowCounters();
    if (session_->ReplyNumber() > 0)
        MEMO1->Lines().Add(session_->ReplyText());
    if (disconnectAfter_) {
        disconnectAfter_ = false;
        Disconnect();
        return false;
    }
    return reason.empty();
}

void Tf_ftp::Connect()
{
    SetConnectedState(true);
    button1->setEnabled(false);
    SpeedButton3->setEnabled(false);
    TFtpSettings settings{vx::FromQString(edit1->text()), vx::FromQString(edit2->text()),
                          vx::FromQString(Edit3->text()), SavePassword->isChecked()};
    try {
        settings.Save();
    } catch (const Exception& e) {
        Log(ErrorText(e));
    }
    if (!vx::net::IsHostNameAlone(settings.Host)) {
        // Said before connecting: the connection's own error would name a bad address format.
        const std::string problem = NotAHostName({vx::net::Trim(settings.Host)});
        SetConnectedState(false);
        Log(problem);
        MessageDlg(problem, mtWarning, mbOK);
        edit1->setFocus();
        return;
    }
    sessionStart_ = QDateTime::currentDateTime();
    Log(SessionStarted());
    ClearRemote();
    TFtpLogin login{settings.Host, FtpPort, settings.User, settings.Password, 20000};
    if (!Run(ConnectCall(), [&] { session_->Connect(login); })) {
        SetConnectedState(false);
        // Told, not only logged: the window would otherwise just stay as it was.
        if (!cancelled_)
            MessageDlg(CouldNotConnect({settings.Host, failure_}), mtError, mbOK);
        return;
    }
    ShowRemoteAddress();
    SetConnectedState(true);
    SetPanel(3, Connected());
    RefreshRemote();
}

void Tf_ftp::Disconnect()
{
    session_->Disconnect();
    SetConnectedState(false);
    SetPanel(3, Disconnected());
    Log(SessionEnded());
    qint64 seconds = sessionStart_.isValid() ? sessionStart_.secsTo(QDateTime::currentDateTime()) : 0;
    Log(SessionLasted({QTime(0, 0).addSecs(static_cast<int>(seconds % 86400)).toString("hh:mm:ss").toStdString()}));
    ClearRemote();
    SetPanel(3, NotConnected());
}

void Tf_ftp::ClearRemote()
{
    remote_.Clear();
    h_list->Items().Clear();
    ListBox1->clear();
    ListBox2->clear();
    ListBox3->clear();
}

void Tf_ftp::FillRemote(const std::vector<std::string>& listing)
{
    remote_.Assign(listing);
    for (const std::string& line : remote_.Lines())
        ListBox1->addItem(vx::ToQString(line));
    h_list->Items().BeginUpdate();
    for (const TFtpRow& row : remote_.Rows()) {
        h_list->Items().Add(TFtpRemoteList::Markup(row.Entry));
        ListBox2->addItem(vx::ToQString(row.Entry.Name));
        ListBox3->addItem(QString::number(row.Entry.Size));
    }
    h_list->Items().EndUpdate();
    ComboBox1->clear();
    for (const auto& name : remote_.FolderNames())
        ComboBox1->addItem(vx::ToQString(name));
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
}

void Tf_ftp::RefreshRemote()
{
    if (!session_->Connected())
        return;
    SetPanel(3, Retrieving());
    ClearRemote();
    std::vector<std::string> listing;
    if (Run(ListCall(), [&] { listing = session_->List(); }))
        FillRemote(listing);
}

void Tf_ftp::RefreshList()
{
    RefreshLocal();
    RefreshRemote();
}

const TFtpEntry* Tf_ftp::SelectedEntry()
{
    int index = h_list->ItemIndex();
    const TFtpEntry* entry = remote_.Row(index);
    if (!entry)
        return nullptr;
    for (QListWidget* list : {ListBox2, ListBox3})
        list->setCurrentRow(index);
    ListBox1->setCurrentRow(remote_.Rows()[static_cast<std::size_t>(index)].Line);
    return entry;
}

void Tf_ftp::OpenEntry()
{
    const TFtpEntry* entry = SelectedEntry();
    if (!entry || !session_->Connected())
        return;
    if (entry->Kind != TFtpEntryKind::Directory) {
        Download();
        return;
    }
    std::string name = entry->Name;
    if (Run(ChangeDirCall(), [&] { session_->ChangeDir(name); }))
        RefreshRemote();
}

void Tf_ftp::ChangeFolderFromBox()
{
    std::string name = vx::FromQString(ComboBox1->currentText().trimmed());
    if (name.empty() || !session_->Connected())
        return;
    if (Run(ChangeDirCall(), [&] { session_->ChangeDir(name); }))
        RefreshList();
}

void Tf_ftp::Upload()
{
    if (!session_->Connected())
        return;
    // The chosen files, taken now: the local lists may be refreshed or moved to
    // another folder while the transfers run.
    QStringList selected;
    for (QListWidgetItem* item : FileListBox1->selectedItems())
        selected << QDir(localFolder_).filePath(item->text());
    int number = 0;
    for (const QString& path : selected) {
        ++number;
        SetPanel(3, Transferring({std::to_string(number), std::to_string(selected.size())}));
        std::string name = vx::FromQString(QFileInfo(path).fileName());
        if (Run(UploadCall({name}), [&] { session_->Upload(FileSystemPath(path), name); }))
            Log(Uploaded({name}));
        else if (cancelled_ || !session_->Connected())
            break;
    }
    RefreshList();
}

void Tf_ftp::Download()
{
    const TFtpEntry* entry = SelectedEntry();
    if (!entry || !session_->Connected() || entry->Kind != TFtpEntryKind::File)
        return;
    std::string name = entry->Name;
    if (!IsPlainFileName(name)) {
        Log(NotPlainName({name}));
        return;
    }
    QString local = QDir(localFolder_).filePath(vx::ToQString(name));
    if (QFileInfo::exists(local)
        && MessageDlg(OverwriteFile({vx::FromQString(local)}), mtConfirmation, mbYesNo) != mrYes)
        return;
    FlatGauge1->SetMaxValue(static_cast<int>(std::min<std::int64_t>(entry->Size, INT32_MAX)));
    FlatGauge1->SetProgress(0);
    bool ok = Run(DownloadCall({name}), [&] { session_->Download(name, FileSystemPath(local)); });
    RefreshLocal();
    if (ok)
        Log(Downloaded({name}));
    FlatGauge1->SetProgress(0);
}

void Tf_ftp::DeleteEntry()
{
    const TFtpEntry* entry = SelectedEntry();
    if (!entry || !session_->Connected())
        return;
    std::string name = entry->Name;
    if (Run(DeleteCall({name}), [&] { session_->Delete(name); }))
        Log(Deleted({name}));
    RefreshList();
}

void Tf_ftp::MakeFolder()
{
    if (!session_->Connected())
        return;
    bool ok = false;
    QString answer =
        QInputDialog::getText(this, vx::ToQString(NewFolderTitle()), QString(), QLineEdit::Normal, QString(), &ok);
    std::string name = vx::FromQString(answer.trimmed());
    if (!ok || name.empty())
        return;
    Run(MakeDirCall(), [&] { session_->MakeDirectory(name); });
    RefreshList();
}
