#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <string>

// lumetra-sample-sites started for one test on ephemeral ports, stopped with SIGTERM.
namespace lumetra::apptest {

class SampleSitesProcess {
  public:
    explicit SampleSitesProcess(const QStringList& extraArguments = {}) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(LUMETRA_SAMPLE_SITES),
                       QStringList{"--port-a", "0", "--port-b", "0"} + extraArguments);
        if (!process_.waitForStarted(20000)) {
            return;
        }
        QByteArray line;
        while (!line.endsWith('\n') && process_.waitForReadyRead(20000)) {
            line += process_.readLine();
        }
        static const QRegularExpression ready(QStringLiteral("^ready site-a=(\\S+) site-b=(\\S+)"));
        const QRegularExpressionMatch match = ready.match(QString::fromUtf8(line));
        if (match.hasMatch()) {
            siteA_ = match.captured(1).toStdString();
            siteB_ = match.captured(2).toStdString();
        }
    }
    ~SampleSitesProcess() {
        process_.terminate();
        if (!process_.waitForFinished(20000)) {
            process_.kill();
            process_.waitForFinished(20000);
        }
    }

    bool Ready() const { return !siteA_.empty() && !siteB_.empty(); }
    const std::string& SiteA() const { return siteA_; }
    const std::string& SiteB() const { return siteB_; }

  private:
    QProcess process_;
    std::string siteA_, siteB_;
};

}  // namespace lumetra::apptest
