#!/usr/bin/python3
"""A third dBase reader for the tests: Python's dbfread, for levels 3 and 4.

dbfread_dump.py FILE prints FILE as CSV in UTF-8, the way the converter's tabla command prints it
(RFC 4180, CRLF, text without padding, numbers in shortest form with up to 15 significant digits,
booleans T or F, dates YYYY-MM-DD, nulls empty, deleted records left out).
"""
import datetime
import sys

from dbfread import DBF


def shortest(number):
    """Up to 15 significant digits; fixed notation for exponents -5 to 14, else 1.5E20."""
    if number == 0:
        return '0'
    mantissa, exponent = ('%.14e' % number).split('e')
    exponent = int(exponent)
    sign = '-' if mantissa.startswith('-') else ''
    digits = mantissa.lstrip('-').replace('.', '').rstrip('0') or '0'
    if -5 <= exponent < 15:
        if exponent >= 0:
            whole = exponent + 1
            if len(digits) <= whole:
                return sign + digits + '0' * (whole - len(digits))
            return sign + digits[:whole] + '.' + digits[whole:]
        return sign + '0.' + '0' * (-exponent - 1) + digits
    rest = '.' + digits[1:] if len(digits) > 1 else ''
    return sign + digits[0] + rest + 'E' + str(exponent)


def shown(value):
    if value is None:
        return ''
    if isinstance(value, bool):
        return 'T' if value else 'F'
    if isinstance(value, (int, float)):
        return shortest(float(value)) if isinstance(value, float) else str(value)
    if isinstance(value, datetime.date):
        return value.isoformat()
    if isinstance(value, bytes):
        return ''
    return str(value)


def quoted(text):
    if any(c in text for c in ',"\r\n'):
        return '"' + text.replace('"', '""') + '"'
    return text


def main():
    table = DBF(sys.argv[1], load=False, char_decode_errors='strict')
    # A table without a language driver is read as Windows-1252, as the converter reads it.
    if table.header.language_driver == 0:
        table = DBF(sys.argv[1], load=False, encoding='cp1252')
    out = sys.stdout.buffer
    out.write((','.join(quoted(name) for name in table.field_names) + '\r\n').encode('utf-8'))
    for record in table:
        line = ','.join(quoted(shown(value)) for value in record.values())
        out.write((line + '\r\n').encode('utf-8'))


if __name__ == '__main__':
    main()
