#include <string>

#include "sample-sites/SampleContent.h"

// The layouts follow the sites the patterns were written for: one listing entry per line
// (the listing patterns are greedy across a line) and each message in its own lines.
namespace lumetra::samples {

namespace {

std::string PageStart(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
           title + "</title>\n</head>\n<body>\n<div class=\"container\">\n";
}

constexpr char kPageEnd[] = "</div>\n</body>\n</html>\n";

// Site B ends its lines with CR LF.
std::string WithCrLf(const std::string& page) {
    std::string converted;
    for (const char c : page) {
        if (c == '\n') converted += '\r';
        converted += c;
    }
    return converted;
}

std::string RandomListing(int page, const std::vector<ListedNumber>& numbers) {
    std::string html = PageStart("免费接码 - 第" + std::to_string(page) + "页");
    html += "<ul class=\"number-list\">\n";
    for (const ListedNumber& entry : numbers) {
        html += "<li class=\"number-item\"><span class=\"country\">" + entry.code +
                "</span> <a href=\"/messages?phone=" + entry.number + "\">" + entry.number +
                "</a></li>\n";
    }
    html += "</ul>\n<div class=\"pager\"><a href=\"/?page=" + std::to_string(page + 1) +
            "\">下一页</a></div>\n";
    return html + kPageEnd;
}

std::string ChinaListing(int page, const std::vector<ListedNumber>& numbers) {
    std::string html = PageStart("中国手机号 - 第" + std::to_string(page) + "页");
    html += "<table class=\"table numbers\">\n";
    for (const ListedNumber& entry : numbers) {
        html += "<tr><td class=\"cc\">" + entry.code + "</td><td class=\"num\"><a href=\"/sms/86" +
                entry.number + "\">" + entry.number + "</a></td></tr>\n";
    }
    html += "</table>\n<ul class=\"pagination\"><li><a href=\"/China-Phone-Number/list_" +
            std::to_string(page + 1) + ".html\">Next</a></li></ul>\n";
    return html + kPageEnd;
}

std::string UsListing(int page, const std::vector<ListedNumber>& numbers) {
    std::string html = PageStart("美国手机号 - 第" + std::to_string(page) + "页");
    html += "<ul class=\"numbers\">\n";
    for (const ListedNumber& entry : numbers) {
        html += "<li class=\"number\"><span>" + entry.code + "</span> <span>" + entry.number +
                "</span> <a href=\"/sms/1" + entry.number + "\">View SMS</a></li>\n";
    }
    html += "</ul>\n<ul class=\"pagination\"><li><a href=\"/US-Phone-Number/list_" +
            std::to_string(page + 1) + ".html\">Next</a></li></ul>\n";
    return html + kPageEnd;
}

std::string RandomMessages(std::string_view number, const std::vector<Message>& messages) {
    std::string html = PageStart(std::string(number) + " 的短信");
    html += "<div class=\"sms-list\">\n";
    int age = 10;
    for (const Message& message : messages) {
        html += "<div class=\"sms-item\">\n<div class=\"sms-head\">\n";
        html += "\t\t\t\t    " + message.time + "\t\t\t\t    <span style=\"float: right;\">" +
                std::to_string(age) + " 分钟前</span>\n";
        html += "</div>\n<p class=\"sms-text\">" + message.sender + "您的验证码是<b>" +
                message.code + "</b>，5分钟内有效。</p>\n</div>\n";
        age += 7;
    }
    if (messages.empty()) html += "<p class=\"empty\">暂无短信</p>\n";
    return html + "</div>\n" + kPageEnd;
}

std::string ChinaMessages(std::string_view number, const std::vector<Message>& messages) {
    std::string html = PageStart("+86 " + std::string(number) + " 短信列表");
    for (const Message& message : messages) {
        html += "<div class=\"row sms\">\n";
        html += "            <div class=\"col-md-6 msg\">" + message.sender +
                "<span class=\"code\"><b>" + message.code +
                "</b></span>是您的验证码，请勿泄露。</div>\n";
        html += "            <div class=\"col-md-3 time\">" + message.time + "</div>\n</div>\n";
    }
    if (messages.empty()) html += "<p class=\"empty\">暂无短信</p>\n";
    return html + kPageEnd;
}

std::string UsMessages(std::string_view number, const std::vector<Message>& messages) {
    std::string html = PageStart("+1 " + std::string(number) + " 短信列表");
    for (const Message& message : messages) {
        html += "        <div class=\"row sms\">\n";
        html += "            <div class=\"col-md-3 sender\">" + message.sender + "</div>\n";
        html += "            <div class=\"col-md-6 msg\">您的验证码是 <b>" + message.code +
                "</b>，请在10分钟内使用。</div>\n";
        html += "            <div class=\"col-md-3 time\">" + message.time + "</div>\n";
        html += "        </div>\n";
    }
    if (messages.empty()) html += "<p class=\"empty\">暂无短信</p>\n";
    return html + kPageEnd;
}

}  // namespace

std::string ListingPageHtml(SampleZone zone, int page, const std::vector<ListedNumber>& numbers) {
    switch (zone) {
        case SampleZone::Random:
            return RandomListing(page, numbers);
        case SampleZone::China:
            return WithCrLf(ChinaListing(page, numbers));
        case SampleZone::Us:
            return WithCrLf(UsListing(page, numbers));
    }
    return {};
}

std::string MessagePageHtml(SampleZone zone, std::string_view number,
                            const std::vector<Message>& messages) {
    switch (zone) {
        case SampleZone::Random:
            return RandomMessages(number, messages);
        case SampleZone::China:
            return WithCrLf(ChinaMessages(number, messages));
        case SampleZone::Us:
            return WithCrLf(UsMessages(number, messages));
    }
    return {};
}

}  // namespace lumetra::samples
