// Tf_ftp, "Publish Files": uploads local web files to an FTP server and
// manages the remote folder (list, change folder, download, delete, create
// folders) with a session log. Every call to the server runs on the
// user-interface thread and keeps the window responsive while it waits; while
// one runs, "Cancel" (and "Disconnect", or closing the window) stops it and
// the other commands wait for it to end.
#pragma once

#include <QDialog>

#include "internet/FtpRemoteList.h"
#include "internet/FtpSession.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;
class TFlatGauge;
class TFlatMemo;
namespace vx {
class THTMListbox;
}

class Tf_ftp : public QDialog {
public:
    explicit Tf_ftp(QWidget* parent = nullptr);
    // For tests: another session implementation.
    Tf_ftp(QWidget* parent, std::unique_ptr<IFtpSession> session);
    ~Tf_ftp() override;

    // The server's port; the stored settings know only the host.
    int FtpPort = 21;
    // The local folder the file list shows and downloads go to.
    void SetLocalFolder(const QString& folder);
    QString LocalFolder() const { return localFolder_; }
    const TFtpRemoteList& RemoteList() const { return remote_; }
    // Escape or closing while a call runs stops it; the window closes at the next try.
    void reject() override;
    std::string StatusPanel(int index) const;

    QLineEdit* edit1;
    QLineEdit* edit2;
    QLineEdit* Edit3;
    QCheckBox* SavePassword;
    QPushButton* SpeedButton1;
    QPushButton* SpeedButton2;
    QListWidget* DirectoryListBox1;
    QListWidget* FileListBox1;
    QComboBox* FilterComboBox1;
    QLabel* Panel3;
    QLabel* Panel5;
    vx::THTMListbox* h_list;
    QListWidget* ListBox1;
    QListWidget* ListBox2;
    QListWidget* ListBox3;
    QComboBox* ComboBox1;
    QPushButton* SpeedButton9;
    QPushButton* button1;
    QPushButton* SpeedButton3;
    QPushButton* SpeedButton4;
    QPushButton* SpeedButton5;
    QPushButton* SpeedButton6;
    QPushButton* SpeedButton7;
    QPushButton* SpeedButton8;
    // Cancels the running transfer; enabled only while one runs.
    QPushButton* SpeedButton10;
    TFlatGauge* FlatGauge1;
    QStatusBar* StatusBar1;
    TFlatMemo* MEMO1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    void Wire();
    void FormActivate();
    // "Remote system [<address>]" over the remote list.
    void ShowRemoteAddress();

    void Connect();
    void Disconnect();
    void RefreshRemote();
    // The local file list and the remote folder.
    void RefreshList();
    void OpenEntry();
    void ChangeFolderFromBox();
    void Upload();
    void Download();
    void DeleteEntry();
    void MakeFolder();
    void RefreshLocal();
    void OpenLocalFolder(const QString& name);

    // Runs an FTP call; a failure goes to the log and panel 3 and returns false.
    bool Run(const std::string& what, const std::function<void()>& call);
    void Log(const std::string& text);
    void SetPanel(int index, const std::string& text);
    void ShowCounters();
    void ClearRemote();
    void FillRemote(const std::vector<std::string>& listing);
    // The row of h_list's selection, selected in all lists; null when none.
    const TFtpEntry* SelectedEntry();
    void SetConnectedState(bool connected);

    std::unique_ptr<IFtpSession> session_;
    TFtpRemoteList remote_;
    QString localFolder_;
    QDateTime sessionStart_;
    std::int64_t bytesIn_ = 0;
    std::int64_t bytesOut_ = 0;
    std::int64_t transferIn_ = 0;
    std::int64_t transferOut_ = 0;
    // A call to the server runs; a disconnect asked for meanwhile follows it.
    bool busy_ = false;
    bool disconnectAfter_ = false;
    // The last call was cancelled: a run of uploads stops there.
    bool cancelled_ = false;
    // Why the last call failed, in the current language; empty when it did not.
    std::string failure_;
    QLabel* panels_[4] = {};
};
