#pragma once
// A moment of the local clock, as the platform's clock gives it; free of the platform's headers.

struct ClockTime {
  int year = 2000;
  int month = 1;      // 1 to 12
  int dayOfWeek = 0;  // 0 Sunday to 6 Saturday
  int day = 1;        // 1 to 31
  int hour = 0;       // 0 to 23
  int minute = 0;
  int second = 0;
};
