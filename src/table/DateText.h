#pragma once

#include "data/FileText.h"

#include <QtGlobal>

// A date as people write it in tables, read down to its month. The month is the one written: a time and
// a zone after the date are checked but not converted.
//   Iso        2020-12-05, 2020-12-05T01:00Z, 2015/01/01 01:00:00, 2020-12, 2020/12, 2020.7, 2001M03
//   Compact    202012 (month 13, an annual total in some statistics exports, is told apart), 20201205
//   Year       1880: the year's first month
//   MonthName  Jan-1992, Jan 1 2000, January 2000, 1 January 2000, 2000 Jan
//   Quarter    2001-Q3, 2001 Q3, Q3 2001: the quarter's first month
//   DayFirst   05.12.2020: day, month, year
//   Numeric    12/05/2020 or 05/12/2020 (also with "-"): month and day in an order the column decides
class DateText {
public:
    enum class Form { None, Iso, Compact, Year, MonthName, Quarter, DayFirst, Numeric };
    enum class Order { Unknown, DayFirst, MonthFirst };

    struct Date {
        Form form = Form::None;
        qint32 year = 0;
        qint32 month = 0; // 1..12; 13 for a Compact annual total; 0 for Numeric until the order is known
        int first = 0;    // Numeric: the two numbers before the year, as written
        int second = 0;
        bool ok() const { return form != Form::None; }
    };

    static Date parse(TextSpan text);
    // What a Numeric date's two numbers say about the order: DayFirst when the first is above 12,
    // MonthFirst when the second is, Unknown when neither is.
    static Order orderShown(const Date& date);
    // The month of a date in the given order; false for a Numeric date whose order is Unknown or whose
    // numbers do not make a date in that order.
    static bool resolve(Date& date, Order order);

    static int daysInMonth(qint32 year, int month);
    // 1..12 for an English month name, whole or cut to at least three letters (and "sept"), any case;
    // 0 for anything else.
    static int monthNamed(TextSpan text);
};
