#include "table/DateText.h"

#include <cstring>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// A run of digits from p, at most maxDigits long; the count of digits read (0: none, or too many).
int readNumber(const char*& p, const char* end, int maxDigits, int& number) {
    const char* start = p;
    number = 0;
    while (p < end && isDigit(*p)) {
        if (p - start == maxDigits)
            return 0;
        number = number * 10 + (*p++ - '0');
    }
    return int(p - start);
}

bool validDay(qint32 year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= DateText::daysInMonth(year, month);
}

// A time after a date: HH:MM with optional :SS and fraction, then an optional zone (Z, UTC, GMT,
// +HH, +HHMM, +HH:MM), with blanks between. Checked, never converted.
bool isTime(const char* p, const char* end) {
    int number = 0;
    if (readNumber(p, end, 2, number) == 0 || number > 24 || p == end || *p++ != ':')
        return false;
    if (readNumber(p, end, 2, number) != 2 || number > 59)
        return false;
    if (p < end && *p == ':') {
        ++p;
        if (readNumber(p, end, 2, number) != 2 || number > 60)
            return false;
        if (p < end && (*p == '.' || *p == ',')) {
            const char* digits = ++p;
            while (p < end && isDigit(*p))
                ++p;
            if (p == digits)
                return false;
        }
    }
    while (p < end && *p == ' ')
        ++p;
    if (p == end)
        return true;
    const qsizetype left = end - p;
    if ((left == 1 && (*p == 'Z' || *p == 'z')) ||
        (left == 3 && (std::strncmp(p, "UTC", 3) == 0 || std::strncmp(p, "GMT", 3) == 0)))
        return true;
    if (*p != '+' && *p != '-')
        return false;
    ++p;
    if (readNumber(p, end, 2, number) != 2 || number > 14)
        return false;
    if (p < end && *p == ':')
        ++p;
    return p == end || (readNumber(p, end, 2, number) == 2 && number <= 59 && p == end);
}

// The rest of a date: nothing, or a time after "T" or blanks.
bool endsOrTime(const char* p, const char* end) {
    if (p == end)
        return true;
    if (*p != 'T' && *p != 't' && *p != ' ')
        return false;
    ++p;
    while (p < end && *p == ' ')
        ++p;
    return isTime(p, end);
}

const char* const monthNames[] = {"january", "february", "march",     "april",   "may",      "june",
                                  "july",    "august",   "september", "october", "november", "december"};

int monthNamed(const char* begin, const char* end) {
    const size_t length = size_t(end - begin);
    if (length < 3 || length > 9)
        return 0;
    char word[10] = {};
    for (size_t i = 0; i < length; ++i)
        word[i] = lower(begin[i]);
    for (int m = 0; m < 12; ++m)
        if (std::strncmp(word, monthNames[m], length) == 0 && length <= std::strlen(monthNames[m]))
            return m + 1;
    return 0;
}

using Date = DateText::Date;
using Form = DateText::Form;

Date made(Form form, qint32 year, int month) {
    Date date;
    date.form = form;
    date.year = year;
    date.month = month;
    return date;
}

// Words and numbers apart from blanks and the separators - / , . : one month name or quarter, a
// four-digit year, at most one day. "Jan-1992", "1 January 2000", "January 1, 2000", "2000 Jan", "Q3 2001".
Date parseWords(const char* p, const char* end) {
    int month = 0;
    int quarter = 0;
    int day = 0;
    qint32 year = -1;
    while (p < end) {
        if (*p == ' ' || *p == '-' || *p == '/' || *p == ',' || *p == '.') {
            ++p;
            continue;
        }
        const char* start = p;
        if (isDigit(*p)) {
            int number = 0;
            const int digits = readNumber(p, end, 4, number);
            if (digits == 4 && year < 0)
                year = number;
            else if ((digits == 1 || digits == 2) && day == 0 && number >= 1)
                day = number;
            else
                return Date();
            continue;
        }
        while (p < end && isLetter(*p))
            ++p;
        if (p == start)
            return Date();
        if ((*start == 'Q' || *start == 'q') && p - start == 1 && p < end && *p >= '1' && *p <= '4' &&
            (p + 1 == end || !isDigit(p[1])) && month == 0 && quarter == 0) {
            quarter = *p++ - '0';
            continue;
        }
        const int named = monthNamed(start, p);
        if (named == 0 || month != 0 || quarter != 0)
            return Date();
        month = named;
    }
    if (year < 0)
        return Date();
    if (quarter != 0)
        return day == 0 ? made(Form::Quarter, year, (quarter - 1) * 3 + 1) : Date();
    if (month == 0 || (day != 0 && !validDay(year, month, day)))
        return Date();
    return made(Form::MonthName, year, month);
}

// Dates that start with a four-digit year.
Date parseYearFirst(const char* begin, qint32 year, const char* p, const char* end) {
    if (p == end)
        return made(Form::Year, year, 1);
    int number = 0;
    if (isDigit(*p)) {
        // YYYYMM or YYYYMMDD, digits only.
        int digits = readNumber(p, end, 4, number);
        if (p != end)
            return Date();
        if (digits == 2 && number >= 1 && number <= 13)
            return made(Form::Compact, year, number);
        if (digits == 4 && validDay(year, number / 100, number % 100))
            return made(Form::Compact, year, number / 100);
        return Date();
    }
    if ((*p == 'M' || *p == 'm') && end - p == 3 && isDigit(p[1]) && isDigit(p[2])) {
        ++p;
        readNumber(p, end, 2, number);
        return number >= 1 && number <= 12 ? made(Form::Iso, year, number) : Date();
    }
    const char separator = *p;
    if ((separator == '-' || separator == '/' || separator == '.') && p + 1 < end && isDigit(p[1])) {
        ++p;
        const int digits = readNumber(p, end, 2, number);
        if (digits == 0 || number < 1 || number > 12 || (separator != '.' && digits != 2 && p < end))
            return Date();
        const int month = number;
        if (p == end)
            return made(Form::Iso, year, month);
        if (separator == '.' && p < end && *p != '.')
            return Date();
        if (*p == separator) {
            ++p;
            if (readNumber(p, end, 2, number) != 2 || !validDay(year, month, number))
                return Date();
            return endsOrTime(p, end) ? made(Form::Iso, year, month) : Date();
        }
        return Date();
    }
    return parseWords(begin, end);
}

// Dates that start with one or two digits: 12/05/2020, 05.12.2020, or words ("1 January 2000").
Date parseDayOrMonthFirst(const char* begin, const char* end) {
    const char* p = begin;
    int first = 0;
    int second = 0;
    int year = 0;
    readNumber(p, end, 2, first);
    const char separator = p < end ? *p : 0;
    if ((separator == '/' || separator == '.' || separator == '-') && p + 1 < end && isDigit(p[1])) {
        ++p;
        if (readNumber(p, end, 2, second) == 0 || p == end || *p++ != separator)
            return Date();
        if (readNumber(p, end, 4, year) != 4 || !endsOrTime(p, end) || first < 1 || second < 1)
            return Date();
        if (separator == '.')
            return validDay(year, second, first) ? made(Form::DayFirst, year, second) : Date();
        Date date = made(Form::Numeric, year, 0);
        date.first = first;
        date.second = second;
        // Numbers that make a date in neither order make none.
        Date dayFirst = date;
        Date monthFirst = date;
        if (!DateText::resolve(dayFirst, DateText::Order::DayFirst) &&
            !DateText::resolve(monthFirst, DateText::Order::MonthFirst))
            return Date();
        return date;
    }
    return parseWords(begin, end);
}

} // namespace

int DateText::daysInMonth(qint32 year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && year % 4 == 0 && (year % 100 != 0 || year % 400 == 0))
        return 29;
    return days[month - 1];
}

DateText::Date DateText::parse(TextSpan text) {
    const char* p = text.begin;
    const char* end = text.end;
    while (p < end && *p == ' ')
        ++p;
    while (end > p && end[-1] == ' ')
        --end;
    if (p == end)
        return Date();
    if (end - p >= 4 && isDigit(p[0]) && isDigit(p[1]) && isDigit(p[2]) && isDigit(p[3])) {
        const qint32 year = (p[0] - '0') * 1000 + (p[1] - '0') * 100 + (p[2] - '0') * 10 + (p[3] - '0');
        return parseYearFirst(p, year, p + 4, end);
    }
    if (isDigit(*p))
        return parseDayOrMonthFirst(p, end);
    return parseWords(p, end);
}

int DateText::monthNamed(TextSpan text) {
    return ::monthNamed(text.begin, text.end);
}

DateText::Order DateText::orderShown(const Date& date) {
    if (date.form != Form::Numeric)
        return Order::Unknown;
    if (date.first > 12)
        return Order::DayFirst;
    if (date.second > 12)
        return Order::MonthFirst;
    return Order::Unknown;
}

bool DateText::resolve(Date& date, Order order) {
    if (date.form != Form::Numeric)
        return date.ok();
    if (order == Order::Unknown)
        return false;
    const int day = order == Order::DayFirst ? date.first : date.second;
    const int month = order == Order::DayFirst ? date.second : date.first;
    if (!validDay(date.year, month, day))
        return false;
    date.month = month;
    return true;
}
