// The fetcher of one-page windows.
#include "internet/qt/WindowFetcher.h"

#include <QCoreApplication>

std::unique_ptr<TCurlHttpFetcher> NewWindowFetcher()
{
    auto fetcher = std::make_unique<TCurlHttpFetcher>();
    fetcher->Idle = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
    return fetcher;
}
