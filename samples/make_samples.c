/* Writes the sample workbooks that Tabulon ships in its Samples folder.
 *
 * Build and run from this folder:
 *   cc -std=c99 -Wall -o make_samples make_samples.c $(pkg-config --cflags --libs xlsxwriter)
 *   ./make_samples
 * The workbooks are written into the current folder. Their properties carry a fixed creation
 * time, so running the program again gives the same content. */
#include <stdio.h>
#include <string.h>
#include <time.h>

#include "xlsxwriter.h"

/* 1 January 2024, 09:00 UTC: the creation time stored in every sample. */
static const time_t kCreated = 1704099600;

static lxw_workbook *new_workbook(const char *file_name, const char *title) {
    lxw_workbook_options options = {.constant_memory = LXW_FALSE, .tmpdir = NULL};
    lxw_workbook *workbook = workbook_new_opt(file_name, &options);
    lxw_doc_properties properties;
    memset(&properties, 0, sizeof properties);
    properties.title = (char *)title;
    properties.author = "Tabulon samples";
    properties.created = kCreated;
    workbook_set_properties(workbook, &properties);
    return workbook;
}

static int close_workbook(lxw_workbook *workbook, const char *file_name) {
    lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR) {
        fprintf(stderr, "%s: %s\n", file_name, lxw_strerror(error));
        return 1;
    }
    printf("wrote %s\n", file_name);
    return 0;
}

static void write_header(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t first_col,
                         const char *const *names, int count, lxw_format *bold) {
    for (int i = 0; i < count; ++i) worksheet_write_string(sheet, row, first_col + i, names[i], bold);
}

/* Three sheets of sales by region: decimals, percentages and totals kept as formulas. */
static int make_quarterly_sales(void) {
    const char *file_name = "Quarterly Sales.xlsx";
    lxw_workbook *workbook = new_workbook(file_name, "Quarterly sales by region");
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format *money = workbook_add_format(workbook);
    format_set_num_format(money, "#,##0.00");
    lxw_format *percent = workbook_add_format(workbook);
    format_set_num_format(percent, "0.0%");

    static const char *const header[] = {"Region", "Product", "Units", "Unit Price", "Revenue",
                                         "Change vs. Previous"};
    static const char *const regions[] = {"North", "South", "East", "West, Coastal"};
    static const char *const products[] = {"Desk Lamp", "Office Chair", "Paper, A4, 500 sheets",
                                           "Stapler"};
    static const double prices[] = {24.90, 149.00, 5.35, 8.75};
    static const char *const quarters[] = {"Q1", "Q2", "Q3"};

    for (int q = 0; q < 3; ++q) {
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, quarters[q]);
        worksheet_set_column(sheet, 0, 1, 22, NULL);
        worksheet_set_column(sheet, 2, 5, 14, NULL);
        write_header(sheet, 0, 0, header, 6, bold);
        lxw_row_t row = 1;
        for (int r = 0; r < 4; ++r) {
            for (int p = 0; p < 4; ++p, ++row) {
                const int units = 40 + ((r * 7 + p * 13 + q * 5) % 60) * (p == 2 ? 10 : 1);
                const double revenue = units * prices[p];
                const double change = ((r * 3 + p * 5 + q * 11) % 21 - 8) / 100.0;
                char formula[32];
                snprintf(formula, sizeof formula, "=C%u*D%u", (unsigned)row + 1, (unsigned)row + 1);
                worksheet_write_string(sheet, row, 0, regions[r], NULL);
                worksheet_write_string(sheet, row, 1, products[p], NULL);
                worksheet_write_number(sheet, row, 2, units, NULL);
                worksheet_write_number(sheet, row, 3, prices[p], money);
                worksheet_write_formula_num(sheet, row, 4, formula, money, revenue);
                worksheet_write_number(sheet, row, 5, change, percent);
            }
        }
    }
    return close_workbook(workbook, file_name);
}

/* One list of people with dates, money, yes/no values and names that hold commas and quotes,
 * and a second sheet left empty on purpose. */
static int make_staff_list(void) {
    const char *file_name = "Staff List.xlsx";
    lxw_workbook *workbook = new_workbook(file_name, "Staff list");
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format *date = workbook_add_format(workbook);
    format_set_num_format(date, "m/d/yyyy");
    lxw_format *long_date = workbook_add_format(workbook);
    format_set_num_format(long_date, "d mmmm yyyy");
    lxw_format *money = workbook_add_format(workbook);
    format_set_num_format(money, "$#,##0.00");

    struct person {
        const char *name, *department, *phone;
        lxw_datetime born, hired;
        double salary;
        int full_time;
    };
    static const struct person staff[] = {
        {"Lindqvist, Maja", "Accounts", "555-0142", {1985, 3, 14, 0, 0, 0}, {2012, 9, 3, 0, 0, 0}, 52400.00, 1},
        {"Okafor, Chidi", "Warehouse", "555-0178", {1990, 11, 2, 0, 0, 0}, {2018, 1, 15, 0, 0, 0}, 38250.50, 1},
        {"Ferreira, Ana \"Nina\"", "Sales, Export", "555-0111", {1979, 7, 30, 0, 0, 0}, {2005, 6, 1, 0, 0, 0}, 61875.25, 1},
        {"Novak, Petr", "IT", "555-0190", {1995, 2, 28, 0, 0, 0}, {2021, 4, 12, 0, 0, 0}, 47300.00, 0},
        {"Haddad, Leila", "Sales, Home", "555-0123", {1988, 12, 5, 0, 0, 0}, {2015, 10, 19, 0, 0, 0}, 55120.75, 1},
        {"O'Brien, Sean", "Accounts", "555-0165", {1970, 5, 9, 0, 0, 0}, {1998, 3, 23, 0, 0, 0}, 68990.00, 0},
    };
    static const char *const header[] = {"Name", "Department", "Phone", "Born", "Hired",
                                         "Salary", "Full Time"};

    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "Staff");
    worksheet_set_column(sheet, 0, 1, 24, NULL);
    worksheet_set_column(sheet, 2, 6, 16, NULL);
    write_header(sheet, 0, 0, header, 7, bold);
    for (size_t i = 0; i < sizeof staff / sizeof staff[0]; ++i) {
        const lxw_row_t row = (lxw_row_t)i + 1;
        worksheet_write_string(sheet, row, 0, staff[i].name, NULL);
        worksheet_write_string(sheet, row, 1, staff[i].department, NULL);
        worksheet_write_string(sheet, row, 2, staff[i].phone, NULL);
        worksheet_write_datetime(sheet, row, 3, (lxw_datetime *)&staff[i].born, date);
        worksheet_write_datetime(sheet, row, 4, (lxw_datetime *)&staff[i].hired, long_date);
        worksheet_write_number(sheet, row, 5, staff[i].salary, money);
        worksheet_write_boolean(sheet, row, 6, staff[i].full_time, NULL);
    }
    workbook_add_worksheet(workbook, "Leavers");
    return close_workbook(workbook, file_name);
}

/* A budget whose table starts at B3 (column A and rows 1 and 2 stay empty), with differences
 * and shares of the plan, and an empty sheet kept for next year. */
static int make_monthly_budget(void) {
    const char *file_name = "Monthly Budget.xlsx";
    lxw_workbook *workbook = new_workbook(file_name, "Household budget, first half of 2024");
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format *money = workbook_add_format(workbook);
    format_set_num_format(money, "#,##0.00;[Red]-#,##0.00");
    lxw_format *percent = workbook_add_format(workbook);
    format_set_num_format(percent, "0%");

    static const char *const months[] = {"January", "February", "March", "April", "May", "June"};
    static const double planned[] = {4200.00, 4200.00, 4500.00, 4500.00, 4800.00, 4800.00};
    static const double actual[] = {3987.45, 4410.10, 4499.99, 4012.30, 5125.80, 4788.05};
    static const char *const header[] = {"Month", "Planned", "Actual", "Difference", "Of Plan"};

    lxw_worksheet *sheet = workbook_add_worksheet(workbook, "2024");
    worksheet_set_column(sheet, 1, 5, 14, NULL);
    write_header(sheet, 2, 1, header, 5, bold);
    for (int m = 0; m < 6; ++m) {
        const lxw_row_t row = (lxw_row_t)m + 3;
        char difference[32], share[32];
        snprintf(difference, sizeof difference, "=D%d-C%d", m + 4, m + 4);
        snprintf(share, sizeof share, "=D%d/C%d", m + 4, m + 4);
        worksheet_write_string(sheet, row, 1, months[m], NULL);
        worksheet_write_number(sheet, row, 2, planned[m], money);
        worksheet_write_number(sheet, row, 3, actual[m], money);
        worksheet_write_formula_num(sheet, row, 4, difference, money, actual[m] - planned[m]);
        worksheet_write_formula_num(sheet, row, 5, share, percent, actual[m] / planned[m]);
    }
    workbook_add_worksheet(workbook, "2025");
    return close_workbook(workbook, file_name);
}

/* Readings with date and time stamps, negative decimals and a few gaps. */
static int make_temperature_log(void) {
    const char *file_name = "Temperature Log.xlsx";
    lxw_workbook *workbook = new_workbook(file_name, "Temperature log");
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format *stamp = workbook_add_format(workbook);
    format_set_num_format(stamp, "m/d/yyyy h:mm");
    lxw_format *time = workbook_add_format(workbook);
    format_set_num_format(time, "h:mm AM/PM");
    lxw_format *one_place = workbook_add_format(workbook);
    format_set_num_format(one_place, "0.0");

    static const char *const header[] = {"Taken", "Time", "Outside (C)", "Inside (C)",
                                         "Humidity", "Remark"};
    static const double outside[] = {-3.4, -1.25, 0.0, 2.8, 5.15, 3.9, -0.6, -2.05};
    static const char *const remarks[] = {"", "frost on the car, windows iced", "", "",
                                          "sunny, light wind", "", "", "snow, about 2 cm"};
    static const char *const sites[] = {"Garden", "Cellar"};

    for (int s = 0; s < 2; ++s) {
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, sites[s]);
        worksheet_set_column(sheet, 0, 0, 18, NULL);
        worksheet_set_column(sheet, 1, 4, 12, NULL);
        worksheet_set_column(sheet, 5, 5, 30, NULL);
        write_header(sheet, 0, 0, header, 6, bold);
        for (int i = 0; i < 8; ++i) {
            const lxw_row_t row = (lxw_row_t)i + 1;
            lxw_datetime taken = {2024, 1, 15 + i / 2, i % 2 ? 18 : 7, i % 2 ? 45 : 30, 0};
            worksheet_write_datetime(sheet, row, 0, &taken, stamp);
            worksheet_write_datetime(sheet, row, 1, &taken, time);
            worksheet_write_number(sheet, row, 2, outside[i] + s * 0.5, one_place);
            if (i != 3) worksheet_write_number(sheet, row, 3, 19.5 + (i % 3) * 0.75 - s * 7, NULL);
            worksheet_write_number(sheet, row, 4, 0.45 + i * 0.0325, NULL);
            if (remarks[i][0] != '\0') worksheet_write_string(sheet, row, 5, remarks[i], NULL);
        }
    }
    return close_workbook(workbook, file_name);
}

/* A catalogue with one sheet per category: codes that must stay text, long descriptions with
 * commas and quotes, prices and stock counts. */
static int make_product_catalog(void) {
    const char *file_name = "Product Catalog.xlsx";
    lxw_workbook *workbook = new_workbook(file_name, "Product catalogue");
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format *price = workbook_add_format(workbook);
    format_set_num_format(price, "0.00");
    lxw_format *wrap = workbook_add_format(workbook);
    format_set_text_wrap(wrap);

    struct item {
        const char *code, *name, *description;
        double price;
        int stock;
    };
    static const struct item office[] = {
        {"00127", "Ring Binder", "A4, 2 rings, blue, red or green", 3.49, 240},
        {"00135", "Ballpoint Pen", "Pack of 10, black ink, \"smooth\" tip", 4.20, 815},
        {"00210", "Desk Organiser", "Bamboo, 5 compartments", 18.95, 37},
    };
    static const struct item kitchen[] = {
        {"04410", "Kettle", "1.7 l, stainless steel, auto shut-off", 29.99, 12},
        {"04418", "Mug Set", "Set of 4, 350 ml, dishwasher safe", 14.50, 0},
        {"04502", "Tea Towels", "Cotton, 50 x 70 cm, pack of 3", 7.25, 64},
        {"04577", "Coffee Grinder", "Burr grinder; 15 settings, \"espresso\" to \"coarse\"", 54.00, 5},
    };
    static const char *const header[] = {"Code", "Name", "Description", "Price", "In Stock"};
    const struct {
        const char *sheet;
        const struct item *items;
        size_t count;
    } categories[] = {{"Office", office, sizeof office / sizeof office[0]},
                      {"Kitchen", kitchen, sizeof kitchen / sizeof kitchen[0]}};

    for (size_t c = 0; c < 2; ++c) {
        lxw_worksheet *sheet = workbook_add_worksheet(workbook, categories[c].sheet);
        worksheet_set_column(sheet, 0, 1, 16, NULL);
        worksheet_set_column(sheet, 2, 2, 44, wrap);
        worksheet_set_column(sheet, 3, 4, 10, NULL);
        write_header(sheet, 0, 0, header, 5, bold);
        for (size_t i = 0; i < categories[c].count; ++i) {
            const struct item *item = &categories[c].items[i];
            const lxw_row_t row = (lxw_row_t)i + 1;
            worksheet_write_string(sheet, row, 0, item->code, NULL);
            worksheet_write_string(sheet, row, 1, item->name, NULL);
            worksheet_write_string(sheet, row, 2, item->description, NULL);
            worksheet_write_number(sheet, row, 3, item->price, price);
            worksheet_write_number(sheet, row, 4, item->stock, NULL);
        }
    }
    return close_workbook(workbook, file_name);
}

int main(void) {
    int failures = 0;
    failures += make_quarterly_sales();
    failures += make_staff_list();
    failures += make_monthly_budget();
    failures += make_temperature_log();
    failures += make_product_catalog();
    return failures == 0 ? 0 : 1;
}
