"""The cells python3-xlrd reads from a sheet, for the checks in file/ and
xlsx/ (each puts this folder on Python's path before importing it)."""
import xlrd


def filled_cells(sheet):
    """(row, col, cell) of every cell that holds something: not empty, not
    blank, not empty text; 0-based."""
    for r in range(sheet.nrows):
        for c in range(sheet.ncols):
            cell = sheet.cell(r, c)
            if cell.ctype in (xlrd.XL_CELL_EMPTY, xlrd.XL_CELL_BLANK):
                continue
            if cell.ctype == xlrd.XL_CELL_TEXT and cell.value == "":
                continue
            yield r, c, cell
