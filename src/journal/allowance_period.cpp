#include "journal/allowance_period.h"

namespace {
struct YearMonth {
    int year;
    int month;
    bool operator==(const YearMonth&) const = default;
};

YearMonth MonthBefore(YearMonth ym) {
    return ym.month == 1 ? YearMonth{ym.year - 1, 12} : YearMonth{ym.year, ym.month - 1};
}

YearMonth MonthAfter(YearMonth ym) {
    return ym.month == 12 ? YearMonth{ym.year + 1, 1} : YearMonth{ym.year, ym.month + 1};
}
} // namespace

CalendarDay ToCalendarDay(const QDate& date) {
    if (!date.isValid())
        return {};
    return {date.year(), date.month(), date.day(), true};
}

bool InAllowancePeriod(const CalendarDay& rowDate, const CalendarDay& today, int firstDay) {
    if (!rowDate.valid || !today.valid)
        return false;
    const YearMonth current{today.year, today.month};
    const YearMonth row{rowDate.year, rowDate.month};
    if (today.day < firstDay) // the period began in the previous month
        return (row == MonthBefore(current) && rowDate.day >= firstDay) ||
               (row == current && rowDate.day < firstDay);
    return (row == current && rowDate.day >= firstDay) ||
           (row == MonthAfter(current) && rowDate.day < firstDay);
}

bool InAllowancePeriod(const QDate& rowDate, const QDate& today, int firstDay) {
    return InAllowancePeriod(ToCalendarDay(rowDate), ToCalendarDay(today), firstDay);
}

bool IsFirstDayOfAllowancePeriod(const QDate& today, int firstDay) {
    return today.isValid() && today.day() == firstDay;
}
